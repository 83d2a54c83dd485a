#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "puzzle/rules/task_code.h"
#include "puzzle/rules/task_library.h"

namespace vokta {
namespace {

using Problem = TaskCodeError::Problem;

Task taskOf(int pieceCount, std::vector<Vec3> cells)
{
    const int count = static_cast<int>(cells.size());
    return {pieceCount, count, std::move(cells)};
}

std::vector<Vec3> sortedCells(std::vector<Vec3> cells)
{
    std::sort(cells.begin(), cells.end(),
              [](Vec3 a, Vec3 b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
    return cells;
}

// The codes below follow the format's description bit by bit: "1B-" is
// version 1, then 001 (one piece) 0 (a mask) 1 1 1 (corner 0, 0, 0) 1 1 1
// (a box of one cell) 1 (filled), padded with a zero: 001011 111110.
TEST(TaskCode, WritesTheFormatAndReadsItBack)
{
    const struct {
        Task task;
        std::string code;
    } cases[] = {
        {taskOf(1, {{0, 0, 0}}), "1B-"},
        // Four in a row for two pieces: a box 4 x 1 x 1, its width less one, 3, as 00100:
        // 010 0 1 1 1 00100 1 1 1111.
        {taskOf(2, {{30, 0, 0}, {0, 0, 0}, {20, 0, 0}, {10, 0, 0}}), "1Ja_"},
        // The built-in cube: corner -1, -1, 0 as 010 010 1, each side 3 as 011.
        {builtInTask(), "1vAs____-"},
        // Three cells far apart: a list is shorter than a mask of 48 x 16 x 6 cells.
        {taskOf(2, {{0, 0, 0}, {400, -30, 0}, {-70, 120, 50}}), "1KSQ3086Tu0Sm1z"},
    };
    for (const auto& [task, code] : cases) {
        const TaskCodeWrite written = encodeTaskCode(task);
        ASSERT_TRUE(written.code) << code;
        EXPECT_EQ(*written.code, code);
        const TaskCodeRead read = decodeTaskCode(code);
        ASSERT_TRUE(read.task) << code;
        EXPECT_EQ(read.task->pieceCount, task.pieceCount);
        EXPECT_EQ(read.task->cellCount, static_cast<int>(task.cells.size()));
        EXPECT_EQ(sortedCells(read.task->cells), sortedCells(task.cells)) << code;
        EXPECT_EQ(taskKey(*read.task), taskKey(task)) << code;
    }
}

// The farthest figure a task file allows still has a code within the longest.
TEST(TaskCode, TheWidestFigureFitsTheLongestCode)
{
    std::vector<Vec3> cells{{-1.0e6f, -1.0e6f, -1.0e6f}};
    for (int k = 0; k < 26; ++k)
        cells.push_back({1.0e6f, 1.0e6f, 1.0e6f - 10.0f * static_cast<float>(k)});
    const TaskCodeWrite written = encodeTaskCode(taskOf(7, cells));
    ASSERT_TRUE(written.code);
    EXPECT_EQ(written.code->size(), kLongestTaskCode);
    const TaskCodeRead read = decodeTaskCode(*written.code);
    ASSERT_TRUE(read.task);
    EXPECT_EQ(sortedCells(read.task->cells), sortedCells(cells));
}

TEST(TaskCode, RefusesWhatIsNoCodeSayingWhy)
{
    const struct {
        std::string code;
        Problem problem;
        long number = 0;
        long limit = 0;
        std::string text = {};
    } cases[] = {
        {"", Problem::Empty},
        {"1B-!", Problem::ForeignCharacter, 4, 0, "!"},
        {"1B=", Problem::ForeignCharacter, 3, 0, "="},
        {"1ф-", Problem::ForeignCharacter, 2, 0, "ф"},
        {"1B \t", Problem::ForeignCharacter, 3, 0, " "},
        {"1B\x01", Problem::ForeignCharacter, 3, 0, "0x01"},
        {"1\xff", Problem::ForeignCharacter, 2, 0, "0xFF"},
        {std::string(kLongestTaskCode + 1, '1'), Problem::TooLong, static_cast<long>(kLongestTaskCode) + 1,
         static_cast<long>(kLongestTaskCode)},
        {"1B-0", Problem::LongerThanItsTask, 4, 3},
        {"2B-", Problem::LaterVersion, 2, 1},
        {"_B-", Problem::LaterVersion, 63, 1},
        {"0B-", Problem::UnknownVersion, 0},
        {"1", Problem::Truncated},
        {"1B", Problem::Truncated},
        {"1vAs____", Problem::Truncated},
        {"10-", Problem::PieceCount, 0},
        // The same row of four, for one piece of three cubes: 001 at the start.
        {"1Ba_", Problem::TooManyCells, 4, 3},
        // The box's corner beyond any cell a task file can hold.
        {"180000", Problem::FarAway, 0, 1000000},
        // A mask with no cell filled: 001011 111100.
        {"1By", Problem::NoCells},
        // The three cells listed above, their first two swapped, the first
        // one given twice, and its x 47 written as 50, beyond its box.
        {"1KSQ3086OvYy01z", Problem::ListDamaged},
        {"1KSQ3086Tu2y01z", Problem::ListDamaged},
        {"1KSQ3086UG0Sm1z", Problem::ListDamaged},
    };
    for (const auto& [code, problem, number, limit, text] : cases) {
        const TaskCodeRead read = decodeTaskCode(code);
        EXPECT_FALSE(read.task) << code;
        EXPECT_EQ(read.error.problem, problem) << code;
        EXPECT_EQ(read.error.number, number) << code;
        EXPECT_EQ(read.error.limit, limit) << code;
        EXPECT_EQ(read.error.text, text) << code;
    }
}

TEST(TaskCode, RefusesTasksThatHaveNoCode)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        Task task;
        Problem problem;
        long number = 0;
    } cases[] = {
        {taskOf(0, {{0, 0, 0}}), Problem::PieceCount, 0},
        {taskOf(8, {{0, 0, 0}}), Problem::PieceCount, 8},
        {taskOf(-1, {{0, 0, 0}}), Problem::PieceCount, -1},
        {taskOf(7, {}), Problem::NoCells},
        {taskOf(1, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}}), Problem::TooManyCells, 4},
        {taskOf(2, {{0, 0, 0}, {10, 5, 0}}), Problem::OffGrid, 2},
        {taskOf(2, {{0, 0, 0}, {10, 0, nan}}), Problem::FarAway, 2},
        {taskOf(2, {{0, 0, 0}, {1.0e7f, 0, 0}}), Problem::FarAway, 2},
        {taskOf(2, {{0, 0, 0}, {10, 0, 0}, {0, 0, 0}}), Problem::RepeatedCell, 3},
    };
    for (const auto& [task, problem, number] : cases) {
        const TaskCodeWrite written = encodeTaskCode(task);
        EXPECT_FALSE(written.code);
        EXPECT_EQ(written.error.problem, problem);
        EXPECT_EQ(written.error.number, number);
    }
}

TEST(TaskCode, FindsTheCodeInALink)
{
    const struct {
        std::string_view text;
        std::string_view code;
    } cases[] = {
        {"1B-", "1B-"},
        {"  1B-\r\n", "1B-"},
        {"index.html#task=1B-", "1B-"},
        {"https://example.org/vokta/index.html?start=1#task=1B-&x=1", "1B-"},
        {"vokta:1B-", "1B-"},
        {"vokta://1B-/", "1B-"},
        {"\t", ""},
        {"#task=", ""},
        {"see 1B-", "see 1B-"},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(taskCodeInLink(text), code) << text;
}

// Codes travel in links and chats for years: every later game must open
// each library task's code of tests/data/task-codes.txt as that very task
// (the same key, so the same progress), however its writer changes.
TEST(TaskCode, TheLibrarysCodesOpenTheirTasksForGood)
{
    std::ifstream file(VOKTA_TEST_DATA "/task-codes.txt");
    std::stringstream text;
    text << file.rdbuf();
    const std::vector<IndexLine> lines = parseLibraryIndex(text.str());
    const std::vector<IndexLine> library = parseLibraryIndex([] {
        std::ifstream index(VOKTA_RESOURCE_DIR "/tasks/index.txt");
        std::stringstream all;
        all << index.rdbuf();
        return all.str();
    }());
    ASSERT_EQ(lines.size(), library.size());
    ASSERT_EQ(lines.size(), 46u);
    std::size_t longest = 0;
    for (const IndexLine& line : lines) {
        ASSERT_EQ(line.fields.size(), 2u) << line.number;
        const std::string& name = line.fields[0];
        const std::string& code = line.fields[1];
        const TaskFileRead file = readTaskFile(VOKTA_RESOURCE_DIR "/tasks/" + name);
        ASSERT_TRUE(file.task) << name;
        const TaskCodeRead read = decodeTaskCode(code);
        ASSERT_TRUE(read.task) << name;
        EXPECT_EQ(taskKey(*read.task), taskKey(*file.task)) << name;
        // Today's writer writes these very codes.
        const TaskCodeWrite written = encodeTaskCode(*file.task);
        ASSERT_TRUE(written.code) << name;
        EXPECT_EQ(*written.code, code) << name;
        longest = std::max(longest, code.size());
    }
    EXPECT_LE(longest, 40u);
}

}  // namespace
}  // namespace vokta
