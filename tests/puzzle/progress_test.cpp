#include <gtest/gtest.h>

#include "puzzle/controller/progress.h"
#include "puzzle/rules/task_file.h"

namespace vokta {
namespace {

// Each completion keeps the better of moves and time on its own; the text
// form reads back to the same records, and damaged lines are left out
// without taking the good ones with them.
TEST(Progress, KeepsTheBestOfEveryCompletionAndLosesOnlyWhatIsDamaged)
{
    Progress progress;
    EXPECT_FALSE(progress.find(0xabc));
    EXPECT_TRUE(progress.recordCompletion(0xabc, 40, 90'000));
    EXPECT_TRUE(progress.recordCompletion(0xabc, 50, 60'000)) << "a shorter time is a better record";
    EXPECT_FALSE(progress.recordCompletion(0xabc, 60, 70'000));
    EXPECT_TRUE(progress.recordCompletion(0xffffffffffffffff, 7, 1));
    EXPECT_EQ(progress.find(0xabc), (TaskRecord{40, 60'000}));
    EXPECT_EQ(progress.text(), "# Vokta progress 1\nabc\t40\t60000\nffffffffffffffff\t7\t1\n");
    EXPECT_EQ(Progress::parse(progress.text()), progress);

    const Progress damaged = Progress::parse("garbage\n"
                                             "abc\t40\t60000\r\n"
                                             "zz\t1\t2\n"
                                             "1f\t-3\t5\n"
                                             "0\t1\t1\n"
                                             "12\t1\t2\textra\n"
                                             "13\t1\n"
                                             "14\t99999999999999999999\t1\n"
                                             "\n"
                                             "ffffffffffffffff\t7\t1");
    EXPECT_EQ(damaged, progress);
    EXPECT_EQ(Progress::parse(""), Progress());
    EXPECT_EQ(Progress::parse(std::string(1000, '\0')), Progress());
}

// A task is known by what it holds: the same figure from a file of the old
// layout or the new one, renamed or copied, is the same task, and the
// library's cube is the built-in one; another figure is another task.
TEST(Progress, TasksAreKnownByWhatTheyHold)
{
    const TaskFileRead oldLayout = readTaskFile(VOKTA_RESOURCE_DIR "/../tests/play/data/cube-v0.tsk");
    const TaskFileRead library = readTaskFile(VOKTA_RESOURCE_DIR "/tasks/cube.tsk");
    const TaskFileRead fivePieces = readTaskFile(VOKTA_RESOURCE_DIR "/../tests/play/data/five-pieces.tsk");
    ASSERT_TRUE(oldLayout.task && library.task && fivePieces.task);
    EXPECT_EQ(taskKey(*library.task), taskKey(builtInTask()));
    EXPECT_EQ(taskKey(*oldLayout.task), taskKey(builtInTask()));
    EXPECT_NE(taskKey(*fivePieces.task), taskKey(*library.task));
    Task moved = builtInTask();
    moved.cells[0].z += 10;
    EXPECT_NE(taskKey(moved), taskKey(builtInTask()));
}

// The days whose task was completed are kept after the records; a file
// from before them reads as it did, and a damaged day is left out alone.
TEST(Progress, KeepsTheDaysAndCountsThemInARow)
{
    Progress progress = Progress::parse("# Vokta progress 1\nabc\t40\t60000\n");
    EXPECT_TRUE(progress.find(0xabc));
    EXPECT_TRUE(progress.recordDay({2026, 3, 1}));
    EXPECT_FALSE(progress.recordDay({2026, 3, 1}));
    EXPECT_TRUE(progress.recordDay({2026, 2, 28}));
    EXPECT_TRUE(progress.recordDay({2026, 2, 26}));
    EXPECT_EQ(progress.text(),
              "# Vokta progress 1\nabc\t40\t60000\nday\t2026-02-26\nday\t2026-02-28\nday\t2026-03-01\n");
    EXPECT_EQ(Progress::parse(progress.text()), progress);
    const Progress damaged =
        Progress::parse("day\t2026-02-26\nday 2026-02-27\nday\t2026-02-30\nday\t1999-12-31\n"
                        "day\t2026-02-28\r\nabc\t40\t60000\nday\t2026-03-01\tmore\nday\t2026-03-01");
    EXPECT_EQ(damaged, progress);

    const struct {
        Date today;
        int inARow;
    } table[] = {
        {{2026, 3, 1}, 2},                       // today, and the day before
        {{2026, 3, 2}, 2},                       // today's still to do: counted from yesterday
        {{2026, 3, 3}, 0},                       // yesterday missed
        {{2026, 2, 28}, 1}, {{2026, 2, 27}, 1},  // the 26th, yesterday
        {{2026, 2, 26}, 1}, {{2026, 1, 1}, 0},
    };
    for (const auto& row : table)
        EXPECT_EQ(progress.daysInARow(row.today), row.inARow) << dateText(row.today);
    EXPECT_TRUE(progress.solvedOn({2026, 2, 28}));
    EXPECT_FALSE(progress.solvedOn({2026, 2, 27}));
}

}  // namespace
}  // namespace vokta
