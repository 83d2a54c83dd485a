#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include <QMainWindow>
#include <QTranslator>

#include "app/help.h"
#include "app/menus.h"
#include "app/settings.h"
#include "play/recording.h"
#include "play/script.h"
#include "puzzle/controller/game.h"
#include "puzzle/controller/progress.h"

class QTimer;

namespace vokta {

class GameView;
class SystemSound;

// The game's one window. It holds the game, the sound and the 3D view, runs
// the 66 ms game tick, draws a frame whenever the event loop is about to wait
// and something changed, carries the menu bar in the chosen language, and
// ends the program when it is closed.
class MainWindow : public QMainWindow, public GameShell {
    Q_OBJECT

public:
    // The window stays hidden until StartGame(); models are read from
    // modelDirectory, the language is kept in setting.
    MainWindow(std::string modelDirectory, LanguageSetting setting);
    ~MainWindow() override;

    // The start dialog: true for START, false for QUIT.
    bool ShowStartDialog();

    // Shows the window, binds the renderer to the 3D view, builds the scene
    // scattered by seed and starts the tick; the sound opens once the first
    // frame is up. False, after telling the player "OpenGL 3.3 not found",
    // when the view cannot be drawn.
    [[nodiscard]] bool StartGame(unsigned seed);

    // "English" and "Russian" switch the interface (anything else gives
    // English); the name is stored as given and the menus brought in line.
    void ApplyLanguage(const QString& name);
    Language language() const { return language_; }

    // A menu command, as the menu bar sends it: after F1 on a menu it shows
    // the command's help instead of running it.
    void OnMenuCommand(Command command);

    GameView* view() const { return view_; }
    // Where the player's progress is kept: progress.txt in the user's data
    // folder, unless tests put it elsewhere; setting it reads it.
    static QString defaultProgressFile();
    void setProgressFile(const QString& path);
    const Progress& progress() const { return progress_; }

    // From now on writes the game as a vokta-play script to path; false,
    // with the reason in error, when the file cannot be written.
    bool StartRecording(const QString& path, QString& error);
    // Plays a script's input actions in the window at the game's pace, one
    // tick per kTickMs; the player's input is held back until it ends, except
    // Escape, which stops it and leaves the game playable. The script must
    // hold only what replayable() accepts.
    void StartReplay(std::vector<play::Action> actions);
    bool replaying() const { return !replay_.empty(); }
    // Why a script cannot be replayed in the window (naming its line), or an
    // empty string.
    static QString unreplayable(const play::Script& script);
    // A task file named on the command line, loaded as the player's step.
    void LoadTaskFile(const QString& path);

    // The running game; null before StartGame().
    Game* game() const { return game_.get(); }
    GameMenus* menus() const { return menus_; }
    Help& help() { return help_; }

    void repaintNow() override;
    void pauseForFanfare() override;
    void showSuccessMessage() override;
    void refreshMenuState() override;
    void showTaskFileError(const TaskFileError& error) override;
    std::optional<std::string> chooseTaskFileToLoad() override;
    std::optional<std::string> chooseTaskFileToSave() override;
    void runShellCommand(Command command) override;
    void showHint(const Hint& hint) override;

signals:
    // Every sound the game asks for, heard or not.
    void soundRequested(vokta::Cue cue);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The rules' sound, passed on to the audio device once it is open.
    class SoundRelay : public SoundOutput {
    public:
        explicit SoundRelay(MainWindow& window) : window_(window) {}
        void play(Cue cue) override;
        SoundOutput* device = nullptr;

    private:
        MainWindow& window_;
    };

    // The display options as the game shows them (all off before StartGame).
    DisplayOptions displayOptions() const;
    // Gives the game these options; the scene follows at applyDisplayOptions
    // or when it is set up.
    void setDisplayOptions(DisplayOptions options);
    // Distinct colours or Piece numbers: switches the option, shows the game
    // in its new look at once and stores it.
    void toggleDisplayOption(Command command);
    void RenderWhenIdle();
    // Every message for the game goes here: held back during a replay,
    // recorded when recording, then routed.
    void Route(const WindowMessage& message);
    void Deliver(const WindowMessage& message);
    void ReplayTick();
    void StopReplay();
    void OnDestroy();
    void OpenSound();
    // Counts a completion of the current task in the player's progress and
    // writes the progress file when the record improved.
    void RecordCompletion();
    // Gives the keyboard back to the game view once no menu, dialog or other
    // window of the game holds it.
    void ReturnKeyboardToView();
    std::optional<std::string> chooseTaskFile(bool forSaving);
    // The task library that comes with the game.
    QString libraryFolder() const;

    std::string modelDirectory_;
    // Where the player last chose a task file of their own; empty until then.
    QString taskFolder_;
    LanguageSetting setting_;
    QString progressFile_;
    Progress progress_;
    Language language_ = Language::English;
    // The menu open now was opened with the mouse, not with Alt.
    bool menuOpenedByMouse_ = false;
    QTranslator gameTranslator_;
    QTranslator qtTranslator_;
    GameMenus* menus_ = nullptr;
    Help help_;
    std::unique_ptr<SystemSound> sound_;
    SoundRelay soundRelay_{*this};
    std::unique_ptr<Game> game_;
    QWidget* viewContainer_ = nullptr;
    GameView* view_ = nullptr;
    QTimer* timer_ = nullptr;
    QMetaObject::Connection idleHook_;
    unsigned seed_ = 0;

    std::FILE* recordFile_ = nullptr;
    std::unique_ptr<play::Recorder> recorder_;
    // The task file the Load or Library command under way loaded, if any.
    std::optional<std::string> dialogLoaded_;

    std::vector<play::Action> replay_;
    std::size_t replayNext_ = 0;
    std::uint32_t replayTicksLeft_ = 0;
    QTimer* replayTimer_ = nullptr;
    // The Escape that stopped a replay: its release is not the game's.
    bool swallowEscapeRelease_ = false;
};

}  // namespace vokta
