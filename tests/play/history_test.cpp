#include <gtest/gtest.h>

#include <random>

#include "play/runner.h"

namespace vokta::play {
namespace {

void play(Runner& runner, std::string_view line)
{
    const Script script = parseScript(line);
    ASSERT_EQ(script.error, "") << line;
    std::string output;
    for (const Action& action : script.actions)
        ASSERT_EQ(runner.run(action, output).status, Runner::Status::Ok) << line;
}

// What undo and redo restore: the pieces, the selection and the task.
std::string rulesState(const Runner& runner)
{
    const Json state = runner.state();
    std::string text;
    for (const char* path : {"pieces", "pieceCount", "cellCount", "selected", "mode", "taskCompleted"})
        text += std::string(path) + '=' + state.find(path)->text() + '\n';
    return text;
}

// A long game of random inputs with pieces still falling between them,
// undone step by step to its start and redone to its end: each undo gives
// the game exactly as it was before its step, each redo as it was after,
// pieces falling mid-air included, and the camera stays where the player
// left it.
TEST(History, UndoesAndRedoesALongGameExactly)
{
    static constexpr std::string_view kInputs[] = {
        "key left",
        "key right",
        "key up",
        "key down",
        "key pageup",
        "key pagedown",
        "key left shift",
        "key right shift",
        "key up shift",
        "key 1",
        "key 2",
        "key 5",
        "key 7",
        "key enter",
        "click piece 3",
        "click piece 4 right",
        "press 5 5 left\nrelease 5 5 none",
        "retry",
        "keydown down\nkeyup down",
        "camera 0 -150 100 0 1 -0.6 0 0 1",
    };
    Runner runner(VOKTA_RESOURCE_DIR, kDefaultWidth, kDefaultHeight);
    play(runner, "setup 11");
    std::mt19937 random(2024);
    std::vector<std::string> before;
    std::vector<std::string> after;
    while (after.size() < 150) {
        play(runner, "tick " + std::to_string(random() % 4));
        const std::string_view input = kInputs[random() % std::size(kInputs)];
        const std::string was = rulesState(runner);
        const std::size_t steps = runner.game().stepsToUndo();
        play(runner, input);
        if (runner.game().stepsToUndo() == steps)
            continue;
        before.push_back(was);
        after.push_back(rulesState(runner));
    }
    const std::string camera = runner.state().find("camera")->text();
    for (std::size_t k = after.size(); k-- > 0;) {
        play(runner, "undo");
        ASSERT_EQ(rulesState(runner), before[k]) << "undoing step " << k;
    }
    play(runner, "undo");
    EXPECT_EQ(rulesState(runner), before.front()) << "nothing before the first step";
    for (std::size_t k = 0; k < after.size(); ++k) {
        play(runner, "redo");
        ASSERT_EQ(rulesState(runner), after[k]) << "redoing step " << k;
    }
    play(runner, "redo");
    EXPECT_EQ(rulesState(runner), after.back());
    EXPECT_EQ(runner.state().find("camera")->text(), camera);
}

// The last thousand steps are kept: a piece moved left and right 1,005
// times goes back 1,000 steps, to where the fifth step left it, and no further.
TEST(History, KeepsTheLastThousandSteps)
{
    Runner runner(VOKTA_RESOURCE_DIR, kDefaultWidth, kDefaultHeight);
    play(runner, "setup 1\npieces 1\nplace 0 0 0 0\nkey 1");
    for (int k = 0; k < 1005; ++k)
        play(runner, k % 2 == 0 ? "key left" : "key right");
    play(runner, "expect pieces.0.position [-10,10,0]");
    for (int k = 0; k < 999; ++k)
        play(runner, "undo");
    play(runner, "expect pieces.0.position [0,0,0]");
    play(runner, "undo\nexpect pieces.0.position [-10,10,0]");
    play(runner, "undo\nexpect pieces.0.position [-10,10,0]");
}

}  // namespace
}  // namespace vokta::play
