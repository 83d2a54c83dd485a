// The generator: every task it makes is what its request asks for, proven
// by counting the solutions afresh, and the calendar that names the days.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <map>

#include "puzzle/rules/generator.h"
#include "puzzle/rules/task_library.h"

namespace vokta {
namespace {

std::vector<Task> libraryTasks()
{
    const std::string folder = std::string(VOKTA_RESOURCE_DIR) + "/tasks/";
    std::ifstream index(folder + "index.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
    std::vector<Task> tasks;
    for (const IndexLine& line : parseLibraryIndex(text))
        tasks.push_back(*readTaskFile(folder + line.field(IndexField::File)).task);
    return tasks;
}

const std::set<FigureShape>& libraryShapes()
{
    static const std::set<FigureShape> shapes = [] {
        const std::vector<Task> tasks = libraryTasks();
        return shapesOf(tasks);
    }();
    return shapes;
}

// Solutions counted up to limit, and how many of those can be built.
struct Tally {
    std::uint64_t solutions = 0;
    std::uint64_t buildable = 0;
};

Tally tally(const Task& task, std::uint64_t limit)
{
    Tally result;
    Solver(task.cells, task.pieceCount).solve({}, [&](const Solution& solution) {
        ++result.solutions;
        result.buildable += canBeBuilt(solution);
        return result.solutions < limit;
    });
    return result;
}

// A task of 27 cells on the grid for the seven pieces that stands on the
// floor and hangs together, and is none of the library's figures.
void expectSoundFigure(const Task& task, const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(task.pieceCount, kPieceTotal);
    EXPECT_EQ(task.cellCount, kMaxCells);
    ASSERT_EQ(task.cells.size(), static_cast<std::size_t>(kMaxCells));
    float lowest = std::numeric_limits<float>::max();
    for (const Vec3& cell : task.cells) {
        EXPECT_EQ(std::fmod(cell.x, 10.0f), 0.0f);
        EXPECT_EQ(std::fmod(cell.y, 10.0f), 0.0f);
        EXPECT_EQ(std::fmod(cell.z, 10.0f), 0.0f);
        lowest = std::min(lowest, cell.z);
    }
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_TRUE(hangsTogether(task.cells));
    EXPECT_FALSE(libraryShapes().contains(figureShape(task.cells)));
}

TEST(Generator, EveryDifficultyKeepsToItsBandOverFiftySeeds)
{
    struct Band {
        Difficulty difficulty;
        std::uint64_t least;
        std::optional<std::uint64_t> most;
    };
    const Band bands[] = {
        {Difficulty::Easy, 300, std::nullopt},
        {Difficulty::Medium, 20, 299},
        {Difficulty::Hard, 2, 19},
        {Difficulty::Unique, 1, 24},
    };
    for (const Band& band : bands) {
        for (std::uint32_t seed = 0; seed < 50; ++seed) {
            const TaskRequest request{.difficulty = band.difficulty, .seed = seed};
            const std::string what = taskRequestName(request);
            const std::optional<Task> task = makeTask(request, libraryShapes());
            ASSERT_TRUE(task) << what;
            expectSoundFigure(*task, what);
            // Counting goes just far enough to see the count in its band.
            const Tally counted = tally(*task, band.most ? *band.most + 1 : band.least);
            const auto rotations = static_cast<std::uint64_t>(selfRotations(task->cells));
            EXPECT_GE(counted.solutions, band.least) << what;
            EXPECT_LE(counted.solutions, band.most.value_or(band.least)) << what;
            EXPECT_GT(counted.buildable, 0u) << what;
            if (band.difficulty == Difficulty::Unique) {
                EXPECT_LE(counted.solutions, rotations) << what;
            } else if (band.difficulty == Difficulty::Hard) {
                EXPECT_GT(counted.solutions, rotations) << what;
            }
        }
    }
}

TEST(Generator, AYearOfDailyTasksIsUniqueAndNeverTheSameFigureTwice)
{
    const int first = dayNumber({2026, 1, 1});
    std::map<FigureShape, std::string> seen;
    for (int day = first; day < first + 365; ++day) {
        const Date date = dateOfDay(day);
        const std::string what = dateText(date);
        const std::optional<Task> task = makeTask({.kind = TaskRequest::Kind::Daily, .date = date}, libraryShapes());
        ASSERT_TRUE(task) << what;
        expectSoundFigure(*task, what);
        const auto rotations = static_cast<std::uint64_t>(selfRotations(task->cells));
        const Tally counted = tally(*task, rotations + 1);
        EXPECT_GE(counted.solutions, 1u) << what;
        EXPECT_LE(counted.solutions, rotations) << what;
        EXPECT_GT(counted.buildable, 0u) << what;
        const auto [same, added] = seen.emplace(figureShape(task->cells), what);
        EXPECT_TRUE(added) << what << " has the figure of " << same->second;
    }
}

TEST(Generator, TheSameRequestMakesTheSameBytes)
{
    for (const TaskRequest& request : {TaskRequest{.kind = TaskRequest::Kind::Daily, .date = {2031, 7, 14}},
                                       TaskRequest{.difficulty = Difficulty::Easy, .seed = 4294967295u}}) {
        const std::optional<Task> once = makeTask(request, libraryShapes());
        const std::optional<Task> again = makeTask(request, libraryShapes());
        ASSERT_TRUE(once && again);
        EXPECT_EQ(encodeTask(*once), encodeTask(*again)) << taskRequestName(request);
    }
}

TEST(Generator, KeepsAwayFromTheFiguresItIsGiven)
{
    const TaskRequest request{.difficulty = Difficulty::Hard, .seed = 11};
    const Task first = *makeTask(request, {});
    const std::set<FigureShape> avoid{figureShape(first.cells)};
    const Task second = *makeTask(request, avoid);
    EXPECT_NE(figureShape(second.cells), figureShape(first.cells));
}

// Figures whose symmetries are known by looking at them.
TEST(Generator, ShapesAreTheSameTurnedMirroredOrMovedAndRotationsAreCounted)
{
    const auto cells = [](std::initializer_list<Cell> cubes, Cell by = {}) {
        std::vector<Vec3> result;
        for (const Cell& cube : cubes)
            result.push_back(toVec3(Cell{(cube.x + by.x) * 10, (cube.y + by.y) * 10, (cube.z + by.z) * 10}));
        return result;
    };
    struct Case {
        const char* name;
        std::vector<Vec3> figure;
        int rotations;
        bool together;
    };
    std::vector<Vec3> cube;
    for (const Vec3& cell : kBuiltInTask)
        cube.push_back(cell);
    const std::vector<Case> cases = {
        {"one cube", cells({{0, 0, 0}}), 24, true},
        {"a rod of three", cells({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}), 8, true},
        {"a square of four", cells({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}), 8, true},
        {"an L of three", cells({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}), 2, true},
        // A half turn about the line through the middle of its middle cube's
        // edge to the next swaps its ends.
        {"the twisted piece", cells({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 1, 0}}), 2, true},
        {"the 3 x 3 x 3 cube", cube, 24, true},
        {"two cubes touching at an edge", cells({{0, 0, 0}, {1, 1, 0}}), 4, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(selfRotations(c.figure), c.rotations) << c.name;
        EXPECT_EQ(hangsTogether(c.figure), c.together) << c.name;
    }
    // The two twisted pieces are each other's mirror images: one shape.
    const std::vector<Vec3> twisted = cells({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 1, 0}}, {5, -3, 2});
    const std::vector<Vec3> other = cells({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, -1, 0}});
    const std::vector<Vec3> turned = cells({{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 1, 0}});
    EXPECT_EQ(figureShape(twisted), figureShape(other));
    EXPECT_EQ(figureShape(twisted), figureShape(turned));
    EXPECT_NE(figureShape(twisted), figureShape(cells({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}})));
}

TEST(Generator, CountingTellsTheDifficultyAndStopsOnceItIsDecided)
{
    const std::vector<Task> library = libraryTasks();
    const auto named = [&](std::size_t index) { return library.at(index); };
    // Index order: cube, tower, castle wall, ..., table (7th), ..., sofa, bed.
    struct Case {
        std::size_t index;
        std::uint64_t solutions;
        bool countedAll;
        std::optional<Difficulty> difficulty;
    };
    const Case cases[] = {
        {0, 300, false, Difficulty::Easy},  // the cube's 11,520 are not all counted
        {2, 4, true, Difficulty::Hard},     // castle wall
        {6, 1, true, Difficulty::Unique},   // table
        {8, 57, true, Difficulty::Medium},  // sofa
        {10, 19, true, Difficulty::Hard},   // boat
    };
    for (const Case& c : cases) {
        const FigureCount count = countFigure(named(c.index).cells, kPieceTotal);
        EXPECT_EQ(count.solutions, c.solutions) << c.index;
        EXPECT_EQ(count.countedAll, c.countedAll) << c.index;
        EXPECT_TRUE(count.buildable) << c.index;
        EXPECT_EQ(difficultyOfCount(count), c.difficulty) << c.index;
    }
    // The three-cube piece alone, a floor above the floor: one solution,
    // and nothing under it to come to rest on.
    const std::vector<Vec3> floating{{0, 0, 10}, {10, 0, 10}, {0, 0, 20}};
    const FigureCount hanging = countFigure(floating, 1);
    EXPECT_EQ(hanging.solutions, 1u);
    EXPECT_FALSE(hanging.buildable);
    EXPECT_EQ(difficultyOfCount(hanging), std::nullopt);
    // Nothing fills a cube of the figure that no piece reaches.
    EXPECT_EQ(difficultyOfCount(countFigure(std::vector<Vec3>{{0, 0, 0}, {50, 0, 0}, {10, 0, 0}}, 1)), std::nullopt);
}

TEST(Generator, RequestsGoByTheirNames)
{
    const std::pair<TaskRequest, const char*> named[] = {
        {{.kind = TaskRequest::Kind::Daily, .date = {2026, 3, 1}}, "daily-2026-03-01.tsk"},
        {{.difficulty = Difficulty::Easy, .seed = 0}, "random-easy-0.tsk"},
        {{.difficulty = Difficulty::Unique, .seed = 4294967295u}, "random-unique-4294967295.tsk"},
    };
    for (const auto& [request, name] : named) {
        EXPECT_EQ(taskRequestName(request), name);
        EXPECT_EQ(taskRequestNamed(name), request) << name;
    }
    for (const char* name : {"daily-2027-02-30.tsk", "daily-2026-03-01", "random-easy-.tsk", "random-easy-01.tsk",
                             "random-odd-1.tsk", "random-easy-4294967296.tsk", "random-hard-1x.tsk", "cube.tsk"})
        EXPECT_EQ(taskRequestNamed(name), std::nullopt) << name;
    for (const Difficulty difficulty : kDifficulties)
        EXPECT_EQ(difficultyNamed(difficultyName(difficulty)), difficulty);
    EXPECT_EQ(difficultyNamed("Easy"), std::nullopt);
}

TEST(Calendar, ReadsRealDaysFrom2000To2999)
{
    struct Case {
        const char* text;
        std::optional<Date> date;
        DateProblem problem;
    };
    const Case cases[] = {
        {"2026-03-01", Date{2026, 3, 1}, DateProblem::Format},   {"2000-01-01", Date{2000, 1, 1}, DateProblem::Format},
        {"2999-12-31", Date{2999, 12, 31}, DateProblem::Format}, {"2024-02-29", Date{2024, 2, 29}, DateProblem::Format},
        {"2027-02-30", std::nullopt, DateProblem::NoSuchDay},    {"2100-02-29", std::nullopt, DateProblem::NoSuchDay},
        {"2026-13-01", std::nullopt, DateProblem::NoSuchDay},    {"2026-04-31", std::nullopt, DateProblem::NoSuchDay},
        {"2026-00-10", std::nullopt, DateProblem::NoSuchDay},    {"1999-12-31", std::nullopt, DateProblem::OutOfRange},
        {"3000-01-01", std::nullopt, DateProblem::OutOfRange},   {"2026-3-1", std::nullopt, DateProblem::Format},
        {"2026-03-01 ", std::nullopt, DateProblem::Format},      {"2026/03/01", std::nullopt, DateProblem::Format},
        {"+026-03-01", std::nullopt, DateProblem::Format},       {"", std::nullopt, DateProblem::Format},
    };
    for (const Case& c : cases) {
        const DateRead read = readDate(c.text);
        EXPECT_EQ(read.date, c.date) << c.text;
        if (c.date) {
            EXPECT_EQ(dateText(*read.date), c.text);
        } else {
            EXPECT_EQ(read.problem, c.problem) << c.text;
        }
    }
}

TEST(Calendar, CountsDaysFromTheFirstOf2000)
{
    EXPECT_EQ(dayNumber({2000, 1, 1}), 0);
    EXPECT_EQ(dayNumber({2000, 3, 1}), 31 + 29);
    EXPECT_EQ(dayNumber({2001, 1, 1}), 366);
    // 2000 to 2999: 1000 years, 243 of them leap years (every fourth, but
    // not 2100, 2200, 2300, 2500, 2600, 2700 and 2900).
    EXPECT_EQ(dayNumber({2999, 12, 31}), 1000 * 365 + 243 - 1);
    for (int day = 0; day < 1000 * 365 + 243; day += 97)
        EXPECT_EQ(dayNumber(dateOfDay(day)), day);
    EXPECT_EQ(dateOfDay(dayNumber({2026, 2, 28}) + 1), (Date{2026, 3, 1}));
}

}  // namespace
}  // namespace vokta
