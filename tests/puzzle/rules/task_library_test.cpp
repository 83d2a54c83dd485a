#include <gtest/gtest.h>

#include "puzzle/rules/task_library.h"

namespace vokta {
namespace {

// Comments and empty lines are skipped, line numbers count every line, a
// line ending in CR LF keeps no CR, and a short line comes back short; the
// difficulty changes at 20 and at 300 solutions.
TEST(TaskLibrary, ReadsTheIndexAndNamesTheDifficulty)
{
    const std::vector<IndexLine> lines = parseLibraryIndex("# file, solutions, difficulty, English, Russian\n"
                                                           "\n"
                                                           "cube.tsk\t11520\teasy\tCube\tКуб\r\n"
                                                           "short.tsk\t3\n"
                                                           "last.tsk\t1\thard\tLast\tПоследняя");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[0].fields, (std::vector<std::string>{"cube.tsk", "11520", "easy", "Cube", "Куб"}));
    EXPECT_EQ(lines[1].field(IndexField::Solutions), "3");
    EXPECT_EQ(lines[1].field(IndexField::Russian), "");
    EXPECT_EQ(lines[2].number, 5);
    EXPECT_EQ(lines[2].field(IndexField::Russian), "Последняя");

    EXPECT_STREQ(difficultyOf(19), "hard");
    EXPECT_STREQ(difficultyOf(20), "medium");
    EXPECT_STREQ(difficultyOf(299), "medium");
    EXPECT_STREQ(difficultyOf(300), "easy");
}

}  // namespace
}  // namespace vokta
