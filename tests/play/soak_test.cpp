#include <gtest/gtest.h>

#include "play/soak.h"

namespace vokta::play {
namespace {

// A long random game, then two pieces put into each other: shrinking keeps
// the setup and the two lines that break the rule, and nothing of the
// random play before or of what follows.
TEST(Soak, ShrinksABrokenGameToTheLinesThatBreakIt)
{
    RandomPlayer player(3, {}, {});
    Runner runner(VOKTA_RESOURCE_DIR, kDefaultWidth, kDefaultHeight);
    std::vector<std::string> lines{"setup 3"};
    std::string output;
    runner.run(parseScript(lines[0]).actions[0], output);
    for (int i = 0; i < 400; ++i) {
        lines.push_back(player.next(runner.game()));
        runner.run(parseScript(lines.back()).actions[0], output);
        output.clear();
    }
    lines.push_back("place 4 0 0 300");
    lines.push_back("tick 50");
    lines.push_back("place 4 0 0 300");
    lines.push_back("place 5 0 0 300");
    lines.push_back("tick 8");
    ASSERT_EQ(firstViolation(VOKTA_RESOURCE_DIR, lines), "line 405: pieces 4 and 5 overlap");
    const std::vector<std::string> shortest = shrink(VOKTA_RESOURCE_DIR, lines, 60.0);
    EXPECT_EQ(shortest, (std::vector<std::string>{"setup 3", "place 4 0 0 300", "place 5 0 0 300"}));
    EXPECT_EQ(shrink(VOKTA_RESOURCE_DIR, {"setup 3", "tick 5"}, 60.0), (std::vector<std::string>{"setup 3", "tick 5"}));
}

}  // namespace
}  // namespace vokta::play
