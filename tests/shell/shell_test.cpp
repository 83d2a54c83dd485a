// The shell model around a running game: what each menu item does, the
// pickers answered as messages, the options and progress kept, the help,
// and the keys of a player who closed a dialog with Enter.

#include <gtest/gtest.h>

#include <filesystem>

#include "puzzle/rules/palette.h"
#include "puzzle/rules/solver.h"
#include "puzzle/rules/task_code.h"
#include "shell/shell.h"
#include "shell_fixtures.h"

namespace vokta {
namespace {

class SilentSound : public SoundOutput {
public:
    void play(Cue) override {}
};

class ShellTest : public ::testing::Test {
protected:
    ShellTest()
    {
        view.shell = &shell;
        shell.game().scene().setViewSize(800, 600);
        shell.start(1);
    }

    void select(char digit)
    {
        shell.keyDown({.typed = digit});
        shell.keyUp({.typed = digit});
    }

    int selected() const { return shell.game().state().selected; }

    SilentSound sound;
    testing::MapStore store;
    testing::RecordingView view;
    Shell shell{VOKTA_RESOURCE_DIR, VOKTA_RESOURCE_DIR "/tasks", sound, view, store};
};

// Enter or Escape whose press closed a menu, About, a message box or the
// F1 pop-up comes up in the game: the selected piece stays selected. Its
// own Enter lets it go.
TEST_F(ShellTest, AKeyReleasedAfterADialogClosedLeavesThePieceSelected)
{
    select('2');
    ASSERT_EQ(selected(), 2);
    for (const Key key : {Key::Enter, Key::Escape}) {
        shell.keyUp({.key = key});
        EXPECT_EQ(selected(), 2) << static_cast<int>(key);
    }
    shell.keyDown({.key = Key::Enter, .typed = '\r'});
    shell.keyboardLost();
    shell.keyUp({.key = Key::Enter, .typed = '\r'});
    EXPECT_EQ(selected(), 2) << "pressed here, let go after the keyboard went to a dialog";
    shell.keyDown({.key = Key::Escape, .typed = '\x1B'});
    shell.keyUp({.key = Key::Escape, .typed = '\x1B'});
    EXPECT_EQ(selected(), -1);
}

TEST_F(ShellTest, EachMenuItemDoesWhatItSays)
{
    shell.choose(Command::About);
    shell.choose(Command::KeyboardHelp);
    shell.choose(Command::MouseHelp);
    shell.choose(Command::HelpIndex);
    shell.askHelp(Command::Solid);
    shell.askHelp(Command::TurnLeft);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"about", "help keyboard.html", "help mouse.html", "help index.html",
                                        "popup 40007", "help index.html"}));
    EXPECT_FALSE(shell.game().figureSolid()) << "F1 runs nothing";
    shell.choose(Command::Solid);
    EXPECT_TRUE(shell.game().figureSolid());

    // The language, stored as chosen, and the menus in it.
    const int changes = view.menuChanges;
    shell.choose(Command::Russian);
    EXPECT_EQ(shell.language(), Language::Russian);
    EXPECT_EQ(store.values[Stored::Language], "Russian");
    EXPECT_GT(view.menuChanges, changes);
    EXPECT_EQ(shell.menuBar()[0].title, "&Задача");
    shell.setLanguage("russian");
    EXPECT_EQ(shell.language(), Language::English);
    EXPECT_EQ(store.values[Stored::Language], "russian") << "kept as given";
}

// Display options switch the look at once, are stored, and leave a hint on show.
TEST_F(ShellTest, DisplayOptionsAreStoredAndKeepTheHint)
{
    for (int i = 0; i < 60; ++i)
        shell.tick();
    shell.choose(Command::Hint);
    ASSERT_TRUE(shell.game().hint());
    shell.choose(Command::DistinctColours);
    EXPECT_EQ(shell.game().view().viewOptions().palette, &kDistinctPalette);
    EXPECT_EQ(store.values[Stored::Colours], "Distinct");
    EXPECT_EQ(store.values[Stored::Numbers], "Off");
    shell.choose(Command::PieceNumbers);
    EXPECT_TRUE(shell.game().view().viewOptions().pieceNumbers);
    EXPECT_EQ(store.values[Stored::Numbers], "On");
    EXPECT_TRUE(shell.game().hint()) << "no move: the hint stays";
    EXPECT_TRUE(shell.options().display.distinctColours && shell.options().display.pieceNumbers);
    shell.choose(Command::Retry);
    EXPECT_FALSE(shell.game().hint());
}

// Load, Save and Library show the front end's picker first; its answer
// comes back as a message carrying the file, or nothing.
TEST_F(ShellTest, PickersAnswerWithTheFileOrNothing)
{
    std::vector<WindowMessage> logged;
    shell.setLog([&](const WindowMessage& message) {
        if (message.kind == WindowMessage::Kind::Command)
            logged.push_back(message);
    });
    shell.choose(Command::Load);
    EXPECT_EQ(view.calls.back(), "pick load");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].command, Command::Load);
    EXPECT_FALSE(logged[0].file);

    view.answer = ChosenFile{VOKTA_RESOURCE_DIR "/tasks/castle-wall.tsk"};
    shell.choose(Command::Library);
    EXPECT_EQ(view.calls.back(), "library of 46");
    const TaskFileRead wall = readTaskFile(VOKTA_RESOURCE_DIR "/tasks/castle-wall.tsk");
    ASSERT_TRUE(wall.task);
    EXPECT_EQ(shell.game().state().cellCount, wall.task->cellCount);
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[1].file, view.answer);

    // The page hands over the file's bytes, named as the player knows it.
    view.answer = ChosenFile{"damaged.tsk", std::vector<unsigned char>{1, 5, 7}};
    shell.choose(Command::Load);
    EXPECT_EQ(view.calls.back(), "notice Load: The task file damaged.tsk is damaged: it ends within its header.");

    const std::filesystem::path saved = std::filesystem::temp_directory_path() / "vokta-shell-test-save.tsk";
    std::filesystem::remove(saved);
    view.answer = ChosenFile{saved.string()};
    shell.choose(Command::Save);
    EXPECT_TRUE(readTaskFile(saved.string()).task);
    std::filesystem::remove(saved);
}

// Share task... shows the code of the task on show; Open task code... opens
// a code or a link as Load opens a file: a step Undo takes back, a task
// whose progress is the same figure's anywhere. A bad code is refused,
// saying why in the interface's language, and changes nothing.
TEST_F(ShellTest, ATaskTravelsAsItsCode)
{
    // The built-in cube's code is the library cube's (tests/data/task-codes.txt).
    shell.choose(Command::ShareTask);
    EXPECT_EQ(view.calls.back(), "share 1vAs____-");
    shell.choose(Command::New);
    shell.choose(Command::ShareTask);
    EXPECT_EQ(view.calls.back(), "notice Share task: There is no task to share: build freely, or load a task.");

    // What each refusal says is in tests/play/codes.play; here, what the
    // shell makes of what was pasted.
    const GameState before = shell.game().state();
    const struct {
        std::string pasted;
        std::string said;
    } bad[] = {
        {" \n", "notice Open task code: No task code was given: paste a code or a task's link."},
        {"index.html#task=" + std::string(300, 'A'),
         "notice Open task code: The task code " + std::string(40, 'A') +
             "... cannot be opened: it has 300 characters, and no task code has more than 282."},
    };
    for (const auto& [pasted, said] : bad) {
        view.codeAnswer = pasted;
        shell.choose(Command::OpenTaskCode);
        EXPECT_EQ(view.calls.back(), said);
        EXPECT_EQ(shell.game().state(), before) << pasted;
    }
    shell.choose(Command::Russian);
    view.codeAnswer = "1vAs____";
    shell.choose(Command::OpenTaskCode);
    EXPECT_EQ(view.calls.back(),
              "notice Открыть код задачи: Код задачи 1vAs____ не открывается: он обрывается "
              "раньше своей задачи: части кода не хватает.");
    shell.choose(Command::English);
    EXPECT_EQ(shell.game().state(), before);

    std::vector<WindowMessage> logged;
    shell.setLog([&](const WindowMessage& message) { logged.push_back(message); });
    view.codeAnswer = "https://example.org/vokta/index.html?start=1#task=1uX9IaSx_dA003W001m000G";
    shell.choose(Command::OpenTaskCode);
    const TaskFileRead bed = readTaskFile(VOKTA_RESOURCE_DIR "/tasks/bed.tsk");
    ASSERT_TRUE(bed.task);
    ASSERT_TRUE(currentTask(shell.game().state()));
    EXPECT_EQ(taskKey(*currentTask(shell.game().state())), taskKey(*bed.task));
    EXPECT_EQ(shell.game().run().key, taskKey(*bed.task));
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0].command, Command::OpenTaskCode);
    EXPECT_EQ(logged[1].command, Command::Load);
    EXPECT_EQ(logged[1].file->path, "vokta:1uX9IaSx_dA003W001m000G") << "recorded as the code";
    shell.choose(Command::Undo);
    EXPECT_FALSE(currentTask(shell.game().state())) << "back to building freely";
    shell.choose(Command::Redo);
    EXPECT_EQ(taskKey(*currentTask(shell.game().state())), taskKey(*bed.task));

    // The cube from its code, solved, is the library's cube solved.
    ASSERT_TRUE(shell.openTaskCode("1vAs____-"));
    for (int i = 0; i < kPieceTotal; ++i) {
        const PiecePlace& place = kBuiltInSolution[static_cast<std::size_t>(i)];
        shell.game().place(i, place.position, place.offsets, false);
    }
    shell.tick();
    const TaskFileRead cube = readTaskFile(VOKTA_RESOURCE_DIR "/tasks/cube.tsk");
    ASSERT_TRUE(cube.task);
    EXPECT_TRUE(shell.progress().find(taskKey(*cube.task)));
}

// A completion counts in the progress, which is stored; not while someone
// else's game is played back. A library that is not there says so.
TEST_F(ShellTest, CompletionsAreKeptAndAMissingLibraryIsReported)
{
    // The cube, loaded afresh each time (a task reported complete is not
    // reported again), solved in one step.
    const auto solveTheCube = [this](int ticks) {
        shell.fileChosen(Command::Load, ChosenFile{VOKTA_RESOURCE_DIR "/tasks/cube.tsk"});
        for (int i = 0; i < ticks; ++i)
            shell.tick();
        for (int i = 0; i < kPieceTotal; ++i) {
            const PiecePlace& place = kBuiltInSolution[static_cast<std::size_t>(i)];
            shell.game().place(i, place.position, place.offsets, false);
        }
        shell.tick();
        EXPECT_TRUE(shell.game().state().taskCompleted);
        EXPECT_EQ(view.calls.back(), "notice Success: Task completed.\nCongratulations!");
    };
    solveTheCube(100);
    ASSERT_TRUE(shell.progress().find(taskKey(builtInTask())));
    EXPECT_EQ(store.values[Stored::Progress], shell.progress().text());
    EXPECT_EQ(store.writes, 1);
    // Faster, but played back: someone else's game.
    shell.setCountingProgress(false);
    solveTheCube(1);
    EXPECT_EQ(store.writes, 1);
    shell.setCountingProgress(true);
    solveTheCube(1);
    EXPECT_EQ(store.writes, 2) << "the player's own, faster";

    testing::MapStore empty;
    testing::RecordingView elsewhere;
    Shell without(VOKTA_RESOURCE_DIR, "/nonexistent", sound, elsewhere, empty);
    elsewhere.shell = &without;
    without.start(1);
    without.choose(Command::Library);
    EXPECT_EQ(elsewhere.calls,
              (std::vector<std::string>{"notice Task library: The task library /nonexistent is missing or empty."}));
}

// The player's game is kept after every step and continued at the next
// start, Undo taking back the steps of the earlier session; a kept game
// that cannot be continued is set aside whole, with one message; without
// keeping, nothing is read or written.
TEST_F(ShellTest, TheGameInProgressIsKeptAndContinued)
{
    const auto keptWith = [this](testing::MapStore& kept, testing::RecordingView& shown) {
        auto next = std::make_unique<Shell>(VOKTA_RESOURCE_DIR, VOKTA_RESOURCE_DIR "/tasks", sound, shown, kept);
        shown.shell = next.get();
        next->setKeepingGame(true);
        next->start(77);
        return next;
    };
    testing::MapStore kept;
    testing::RecordingView first;
    const std::unique_ptr<Shell> before = keptWith(kept, first);
    before->choose(Command::Retry);
    before->choose(Command::Retry);
    before->keyDown({.typed = '3'});
    ASSERT_EQ(before->game().stepsToUndo(), 2u);
    ASSERT_TRUE(kept.values.count(Stored::Game)) << "kept after each step";
    const std::string afterTwo = kept.values[Stored::Game];
    before->choose(Command::Undo);
    EXPECT_NE(kept.values[Stored::Game], afterTwo) << "an undo is kept too";

    // The next session, however the last one ended, goes on from there.
    testing::RecordingView second;
    const std::unique_ptr<Shell> after = keptWith(kept, second);
    EXPECT_EQ(after->game().state(), before->game().state());
    EXPECT_EQ(after->game().stepsToUndo(), 1u);
    EXPECT_TRUE(after->game().canRedo());
    after->choose(Command::Undo);
    EXPECT_EQ(after->game().stepsToUndo(), 0u);
    EXPECT_EQ(second.calls, std::vector<std::string>{});

    // Damaged: set aside, not lost, and said once; a new game starts.
    kept.values[Stored::Game].back() ^= 1;
    const std::string damaged = kept.values[Stored::Game];
    testing::RecordingView third;
    const std::unique_ptr<Shell> fresh = keptWith(kept, third);
    EXPECT_EQ(kept.asideValues[Stored::Game], damaged);
    ASSERT_EQ(third.calls.size(), 1u);
    EXPECT_EQ(third.calls[0],
              "notice Kept game: The game kept in store game.kept cannot be continued: it is damaged "
              "(it was cut short or changed since it was kept). It is set aside as aside, and a new "
              "game starts.");
    EXPECT_EQ(fresh->game().stepsToUndo(), 0u);

    // Without keeping (vokta-play, replays, a seed asked for), the store is left alone.
    const int writes = store.writes;
    select('2');
    shell.keyDown({.key = Key::Left});
    shell.keepGame();
    EXPECT_EQ(store.writes, writes);
    EXPECT_FALSE(store.values.count(Stored::Game));
}

}  // namespace
}  // namespace vokta
