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
        shell.setToday([this] { return today; });
        shell.setRandomSeeds([] { return 77u; });
        shell.game().scene().setViewSize(800, 600);
        shell.start(1);
    }

    void select(char digit)
    {
        shell.keyDown({.typed = digit});
        shell.keyUp({.typed = digit});
    }

    int selected() const { return shell.game().state().selected; }

    Date today{2026, 3, 1};
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
    EXPECT_EQ(view.calls.back(), "make daily-2026-03-01.tsk") << "today's task first";
    view.makeOrders();
    EXPECT_EQ(view.calls.back(), "library of 47");
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

// Today's task and random ones are made by the front end, off the game's
// thread, and loaded once handed back; today's is made once a day, comes
// first in the library, and Save writes a made task itself.
TEST_F(ShellTest, MadeTasksAreOrderedLoadedListedAndSaved)
{
    std::vector<WindowMessage> loads;
    shell.setLog([&](const WindowMessage& message) {
        if (message.kind == WindowMessage::Kind::Command && message.command == Command::Load)
            loads.push_back(message);
    });
    const TaskRequest daily{.kind = TaskRequest::Kind::Daily, .date = today};
    const Task todays = *makeTask(daily, libraryShapes(VOKTA_RESOURCE_DIR "/tasks"));

    shell.choose(Command::TodaysTask);
    EXPECT_EQ(view.calls.back(), "make daily-2026-03-01.tsk");
    EXPECT_TRUE(loads.empty()) << "nothing loads before the task is made";
    view.makeOrders();
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].file, (ChosenFile{"daily-2026-03-01.tsk", encodeTask(todays)}));
    EXPECT_EQ(shell.game().run().key, taskKey(todays));
    // Shared by code like any task: the code opens the very same figure.
    const std::optional<std::string> code = encodeTaskCode(todays).code;
    ASSERT_TRUE(code);
    EXPECT_EQ(taskKey(*decodeTaskCode(*code).task), taskKey(todays));
    shell.choose(Command::ShareTask);
    EXPECT_EQ(view.calls.back(), "share " + *code);

    view.calls.clear();
    shell.choose(Command::TodaysTask);
    shell.choose(Command::Library);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"library of 47"})) << "made once a day";
    const LibraryEntry& first = view.library.at(0);
    EXPECT_EQ(first.name, "Today's task, 2026-03-01");
    EXPECT_EQ(first.difficulty, "unique");
    EXPECT_EQ(first.daysInARow, "days in a row: 0");
    EXPECT_EQ(encodeTask(first.task), encodeTask(todays));
    EXPECT_EQ(view.library.at(1).name, "Cube");

    view.difficulty = std::nullopt;
    shell.choose(Command::RandomTask);
    view.difficulty = Difficulty::Hard;
    shell.choose(Command::RandomTask);
    EXPECT_EQ(view.calls.back(), "make random-hard-77.tsk");
    view.makeOrders();
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[2].file->path, "random-hard-77.tsk");
    const Task hard =
        *makeTask({.difficulty = Difficulty::Hard, .seed = 77}, libraryShapes(VOKTA_RESOURCE_DIR "/tasks"));
    EXPECT_EQ(shell.game().run().key, taskKey(hard));

    // Saved, it is the task, not the scattered pieces; after New, the pieces again.
    const std::filesystem::path saved = std::filesystem::temp_directory_path() / "vokta-shell-test-made.tsk";
    view.answer = ChosenFile{saved.string()};
    shell.choose(Command::Save);
    const TaskFileRead read = readTaskFile(saved.string());
    ASSERT_TRUE(read.task);
    EXPECT_EQ(encodeTask(*read.task), encodeTask(hard));
    shell.choose(Command::New);
    shell.choose(Command::Save);
    EXPECT_EQ(encodeTask(*readTaskFile(saved.string()).task), taskFileBytes(shell.game().state()));
    std::filesystem::remove(saved);

    // Today's task chosen in the library.
    view.answer = ChosenFile{first.file};
    shell.choose(Command::Library);
    EXPECT_EQ(shell.game().run().key, taskKey(todays));
    EXPECT_EQ(loads.back().file->path, "daily-2026-03-01.tsk");
}

// Completing today's task counts its day; the library shows the days in a
// row, counted from yesterday until today's is done.
TEST_F(ShellTest, TodaysTaskCompletedCountsItsDay)
{
    shell.choose(Command::TodaysTask);
    view.makeOrders();
    const Task todays =
        *makeTask({.kind = TaskRequest::Kind::Daily, .date = today}, libraryShapes(VOKTA_RESOURCE_DIR "/tasks"));
    const std::optional<Solution> solution = Solver(todays.cells, todays.pieceCount).first();
    ASSERT_TRUE(solution);
    for (const PiecePlace& place : *solution)
        shell.game().place(place.piece, place.position, place.offsets, false);
    shell.tick();
    ASSERT_TRUE(shell.game().state().taskCompleted);
    EXPECT_TRUE(shell.progress().solvedOn(today));
    EXPECT_NE(store.values[Stored::Progress].find("day\t2026-03-01\n"), std::string::npos);

    shell.choose(Command::Library);
    EXPECT_EQ(view.library.at(0).daysInARow, "days in a row: 1");
    EXPECT_TRUE(view.library.at(0).record);
    today = {2026, 3, 2};
    shell.choose(Command::Library);
    view.makeOrders();
    EXPECT_EQ(view.library.at(0).name, "Today's task, 2026-03-02");
    EXPECT_EQ(view.library.at(0).daysInARow, "days in a row: 1") << "today's still to do";
    EXPECT_FALSE(view.library.at(0).record);
}

// Today's task in play when the program ended is known again in the game
// continued: Save writes the task, and completing it counts its day.
TEST_F(ShellTest, TodaysTaskContinuedCountsItsDayAndSavesItself)
{
    testing::MapStore kept;
    const auto session = [&](testing::RecordingView& shown) {
        auto next = std::make_unique<Shell>(VOKTA_RESOURCE_DIR, VOKTA_RESOURCE_DIR "/tasks", sound, shown, kept);
        shown.shell = next.get();
        next->setToday([this] { return today; });
        next->setKeepingGame(true);
        next->start(5);
        shown.makeOrders();
        return next;
    };
    testing::RecordingView first;
    {
        const std::unique_ptr<Shell> before = session(first);
        before->choose(Command::TodaysTask);
        first.makeOrders();
    }
    testing::RecordingView second;
    const std::unique_ptr<Shell> after = session(second);
    const Task todays =
        *makeTask({.kind = TaskRequest::Kind::Daily, .date = today}, libraryShapes(VOKTA_RESOURCE_DIR "/tasks"));
    ASSERT_EQ(after->game().run().key, taskKey(todays));

    const std::filesystem::path saved = std::filesystem::path(::testing::TempDir()) / "continued-daily.tsk";
    after->fileChosen(Command::Save, ChosenFile{saved.string()});
    EXPECT_EQ(encodeTask(*readTaskFile(saved.string()).task), encodeTask(todays));
    std::filesystem::remove(saved);

    const std::optional<Solution> solution = Solver(todays.cells, todays.pieceCount).first();
    ASSERT_TRUE(solution);
    for (const PiecePlace& place : *solution)
        after->game().place(place.piece, place.position, place.offsets, false);
    after->tick();
    ASSERT_TRUE(after->game().state().taskCompleted);
    EXPECT_TRUE(after->progress().solvedOn(today));
}

// After New, Save... says what the figure built would make before it is
// written: the count of the library's index for figures built as library
// tasks, and that a figure standing on nothing cannot be built. With a
// task in play it says nothing.
TEST_F(ShellTest, SavingAFreeBuildTellsWhatItMakes)
{
    const auto firstSolution = [](const char* file) {
        const Task task = *readTaskFile(std::string(VOKTA_RESOURCE_DIR "/tasks/") + file).task;
        return *Solver(task.cells, task.pieceCount).first();
    };
    Solution cube(kBuiltInSolution.begin(), kBuiltInSolution.end());
    Solution lifted = cube;
    for (PiecePlace& place : lifted)
        place.position.z += 10;
    const struct {
        const char* built;
        Solution places;
        const char* told;
    } table[] = {
        {"the cube", cube, "The figure you built can be filled in 300 or more ways: an easy task."},
        {"the sofa", firstSolution("sofa.tsk"), "The figure you built can be filled in 57 ways: a medium task."},
        {"the castle wall", firstSolution("castle-wall.tsk"),
         "The figure you built can be filled in 4 ways: a hard task."},
        {"the table", firstSolution("table.tsk"),
         "The figure you built can be filled in exactly one way: a unique task."},
        {"the cube a cell above the floor", lifted,
         "Ways to fill the figure you built: 300 or more. None of them can be put down piece by piece: it cannot "
         "be built."},
    };
    const std::filesystem::path saved = std::filesystem::temp_directory_path() / "vokta-shell-test-built.tsk";
    view.answer = ChosenFile{saved.string()};
    shell.choose(Command::New);
    for (const auto& row : table) {
        for (const PiecePlace& place : row.places)
            shell.game().place(place.piece, place.position, place.offsets, false);
        view.calls.clear();
        shell.choose(Command::Save);
        EXPECT_EQ(view.calls, (std::vector<std::string>{std::string("notice Save: ") + row.told, "pick save"}))
            << row.built;
    }
    EXPECT_EQ(encodeTask(*readTaskFile(saved.string()).task), taskFileBytes(shell.game().state()));
    shell.fileChosen(Command::Load, ChosenFile{VOKTA_RESOURCE_DIR "/tasks/sofa.tsk"});
    view.calls.clear();
    shell.choose(Command::Save);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"pick save"}));
    std::filesystem::remove(saved);
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
        next->setToday([this] { return today; });
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
    // Nothing said; today's task is made to know whether it is the one in play.
    EXPECT_EQ(second.calls, std::vector<std::string>{"make daily-2026-03-01.tsk"});

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
