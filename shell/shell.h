#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle/controller/game.h"
#include "puzzle/controller/progress.h"
#include "puzzle/rules/calendar.h"
#include "puzzle/rules/generator.h"
#include "shell/announcements.h"
#include "shell/keys.h"
#include "shell/language.h"
#include "shell/library.h"
#include "shell/menus.h"
#include "shell/messages.h"
#include "shell/options.h"

namespace vokta {

// A task the shell wants made (today's task, or a random one), and what for:
// to play it, to show it first in the library, or to know it again. A front end runs work()
// wherever it likes (see ShellView::makeTask) and hands it back to
// Shell::taskMade once it is done.
class TaskOrder {
public:
    // Recognise: today's task made only to know it again in a game continued
    // from an earlier session, whose day it then counts and Save writes.
    enum class Purpose { Play, Library, Recognise };

    TaskOrder(const TaskRequest& request, std::set<FigureShape> avoid, Purpose purpose)
        : generator_(request, std::move(avoid)), purpose_(purpose)
    {
    }

    // Tries up to candidates more figures; true once it is done. One thread
    // at a time may call it.
    bool work(std::uint32_t candidates) { return generator_.work(candidates); }
    const TaskGenerator& generator() const { return generator_; }
    Purpose purpose() const { return purpose_; }

private:
    TaskGenerator generator_;
    Purpose purpose_;
};

// What a front end does for the shell: it draws what it is told, and shows
// its own pickers and dialogs. The Qt window, the page and vokta-play's
// headless game each implement it.
class ShellView {
public:
    virtual ~ShellView() = default;
    // The menus' words, checks or grey items changed: draw Shell::menuBar() again.
    virtual void menusChanged() = 0;
    // A message box, held until the player closes it.
    virtual void showNotice(const Notice& notice) = 0;
    // Draws the scene as it stands, before anything else happens (the
    // final position, before the fanfare).
    virtual void repaintNow() = 0;
    // Waits while the fanfare plays; a front end that cannot wait goes on.
    virtual void pauseForFanfare() = 0;
    // The help open at a page (see helpPage: HelpIndex, KeyboardHelp or
    // MouseHelp), or F1's small pop-up for a menu item (its HTML).
    virtual void showHelp(Command topic) = 0;
    virtual void showHelpPopup(Command command, std::string_view html) = 0;
    virtual void showAbout() = 0;
    // The front end's own pickers. Each answers with Shell::fileChosen for
    // the same command, at once or later, with the file or with nothing when
    // the player cancelled: a task file to open (Load), where to save one
    // (Save), a task of the library (Library).
    virtual void pickTaskFile(Command command) = 0;
    virtual void pickLibraryTask(const std::vector<LibraryEntry>& tasks) = 0;
    // Random task's small dialog: the player picks how hard a task to make,
    // answered with Shell::difficultyChosen, at once or later.
    virtual void pickDifficulty() = 0;
    // A task to make. Making one takes from a few milliseconds to a few
    // hundred, so the front end runs order->work() until it returns true off
    // the game's thread or in slices between its ticks, and then hands it
    // back with Shell::taskMade on the game's thread; a headless one at once.
    virtual void makeTask(std::shared_ptr<TaskOrder> order) = 0;
    // The language or a display option was switched (already stored and shown).
    virtual void optionChanged(Stored option) = 0;
    // Words for the player's screen reader: what just changed, or the
    // description asked for. Nothing is drawn for them.
    virtual void announce(const Spoken& spoken) = 0;
    // Share task...: the current task's code, to show (the page with its link).
    virtual void showTaskCode(std::string_view code) = 0;
    // Open task code...: asks for a code or a link, and answers with
    // Shell::openTaskCode, or not at all when the player cancelled.
    virtual void askTaskCode() = 0;
};

// The shell model: one running game and everything around it that the
// player sees and that every front end shares: the menus and what each item
// does, the keys the game takes, the options and the language and where they
// are kept, the player's progress, the library's listing, the help and the
// messages. A front end turns its events into calls of this, draws what it
// says, and answers through ShellView.
class Shell : private GameShell {
public:
    // Models from modelDirectory, the library from libraryFolder; the options
    // and progress are read from store at once (a value that names nothing
    // is reported on standard error and left as it is).
    Shell(std::string modelDirectory, std::string libraryFolder, SoundOutput& sound, ShellView& view,
          ShellStore& store);
    ~Shell() override;

    // START: the scene set up and the pieces scattered by seed.
    void start(unsigned seed);
    bool started() const { return started_; }

    Game& game() { return game_; }
    const Game& game() const { return game_; }
    const Options& options() const { return options_; }
    Language language() const { return options_.language(); }
    const Progress& progress() const { return progress_; }
    const std::string& libraryFolder() const { return libraryFolder_; }
    std::vector<ShownMenu> menuBar() const;

    // The player's input. keyDown returns whether the game took the key.
    bool keyDown(const KeyStroke& stroke);
    void keyUp(const KeyStroke& stroke);
    void keyboardLost();
    // A mouse message (ButtonDown, ButtonUp, MouseMove, DoubleClick).
    void mouse(const WindowMessage& message);
    // A pinch: the camera closer by units (see Game::zoom).
    void zoom(float units);
    // A menu item chosen.
    void choose(Command command);
    // F1 on a menu item: its pop-up, or the help's contents.
    void askHelp(Command command);
    // A picker's answer (see ShellView): the file, or nothing when cancelled.
    void fileChosen(Command command, const std::optional<ChosenFile>& file);
    // The task of a code, or of a link that carries one, opened as Load
    // opens a file: Open task code...'s answer, or a link the program was
    // started with. A bad code is refused with a message and changes
    // nothing; false then.
    bool openTaskCode(std::string_view text);
    // The language by its name, stored as it is ("Russian", anything else English).
    void setLanguage(std::string_view name);

    // Random task's dialog answered: the difficulty, or nothing when cancelled.
    void difficultyChosen(std::optional<Difficulty> difficulty);
    // An order given through ShellView::makeTask, done.
    void taskMade(const TaskOrder& order);
    // Makes the task of request at once and loads it as Load does (the
    // actions of vokta-play and a replay's).
    void loadMadeTask(const TaskRequest& request);
    // The library's figures, which made tasks keep away from.
    const std::set<FigureShape>& libraryShapes();
    // Where the shell learns the day (UTC, by the system's clock unless set)
    // and draws the seed of a random task (from the system's entropy unless
    // set).
    void setToday(std::function<Date()> today) { today_ = std::move(today); }
    void setRandomSeeds(std::function<std::uint32_t()> seeds) { seeds_ = std::move(seeds); }

    // The game tick and the idle render.
    void tick();
    bool renderWhenIdle(const std::function<void(float elapsedTicks)>& drawFrame);

    // A message for the game as it is, from a script or a replay.
    void route(const WindowMessage& message);
    // Everything the game is handed, in order, as a recording writes it: the
    // routed messages, menu items the shell answers itself, and the pickers'
    // answers as the command that opened them with the file chosen.
    void setLog(std::function<void(const WindowMessage&)> log);
    // Whether completions count in the player's progress (not while
    // someone else's game is played back).
    void setCountingProgress(bool counting) { countingProgress_ = counting; }
    // Whether the game in progress is kept in the store after every step and
    // continued at the next start: the player's own game, not a replay, a
    // script or a scatter asked for by its seed. Set before start().
    void setKeepingGame(bool keeping) { keeping_ = keeping; }
    // Keeps the game as it stands now, view included: when the program ends.
    void keepGame();

private:
    // GameShell
    void repaintNow() override;
    void pauseForFanfare() override;
    void taskCompleted() override;
    void refreshMenuState() override;
    void stepsChanged() override;
    void showTaskFileError(const TaskFileError& error) override;
    void showHint(const Hint& hint) override;

    // A made task in play, or on show first in the library: what it was
    // made for, the task, its file's bytes and its key.
    struct MadeTask {
        MadeTask(const TaskRequest& request, const Task& task)
            : request(request), task(task), bytes(encodeTask(task)), key(taskKey(task))
        {
        }
        TaskRequest request;
        Task task;
        std::vector<unsigned char> bytes;
        std::uint64_t key;
    };

    void log(const WindowMessage& message);
    // Continues the kept game, if there is one; one that cannot be continued
    // is set aside, with a message.
    void continueKeptGame();
    void toggleDisplayOption(Command command);
    void openLibrary();
    void describe();
    void order(const TaskRequest& request, TaskOrder::Purpose purpose);
    void loadMade(const MadeTask& task);
    // Whether the task in play is the made one: Save writes it, and a
    // completion of today's task counts its day.
    bool madeTaskInPlay() const;
    TaskRequest todaysRequest() const;
    // The figure the pieces in play form, counted with the pieces as they
    // stand as its first solution.
    FigureCount countBuiltFigure() const;
    void shareTask();

    Game game_;
    ShellView& view_;
    ShellStore& store_;
    std::string libraryFolder_;
    Options options_;
    Progress progress_;
    Keyboard keyboard_;
    Announcer announcer_;
    bool started_ = false;
    bool countingProgress_ = true;
    bool keeping_ = false;
    std::function<void(const WindowMessage&)> log_;
    std::function<Date()> today_ = todayInUtc;
    std::function<std::uint32_t()> seeds_;
    std::optional<std::set<FigureShape>> libraryShapes_;
    // Today's task once made (the library shows it first), and the made task last loaded.
    std::optional<MadeTask> todays_;
    std::optional<MadeTask> madeInPlay_;
};

}  // namespace vokta
