#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QTranslator>

#include "app/game_view.h"
#include "app/help.h"
#include "app/menus.h"
#include "app/settings.h"
#include "app/spoken_view.h"
#include "play/recording.h"
#include "play/script.h"
#include "shell/shell.h"

class QThread;
class QTimer;

namespace vokta {

class SystemSound;

// The game's one window: it draws what the shell model says (the menus,
// the library, the dialogs, the messages), turns Qt's keys, mouse and menu
// choices into the shell's input, shows its own file dialogs, runs the
// 66 ms game tick, draws a frame whenever the event loop is about to wait
// and something changed, and ends the program when it is closed.
class MainWindow : public QMainWindow, public ShellView, private ViewInput {
    Q_OBJECT

public:
    // The window stays hidden until StartGame(); models and the task library
    // are read from modelDirectory, the options and progress kept in store.
    MainWindow(std::string modelDirectory, SettingsStore store);
    ~MainWindow() override;

    // The start dialog: true for START, false for QUIT.
    bool ShowStartDialog();

    // Shows the window, binds the renderer to the 3D view, builds the scene
    // scattered by seed and starts the tick; the sound opens once the first
    // frame is up. False, after telling the player "OpenGL 3.3 not found",
    // when the view cannot be drawn.
    [[nodiscard]] bool StartGame(unsigned seed);

    // "English" and "Russian" switch the interface (anything else gives
    // English); the name is stored as given and the menus follow.
    void ApplyLanguage(const QString& name);
    Language language() const { return shell_.language(); }

    // A menu item chosen, as the menu bar sends it; with help, F1 asked for
    // its help instead.
    void OnMenuCommand(Command command, bool help = false);

    GameView* view() const { return view_; }
    const Progress& progress() const { return shell_.progress(); }

    // From now on writes the game as a vokta-play script to path; false,
    // with the reason in error, when the file cannot be written.
    bool StartRecording(const QString& path, QString& error);
    // Plays a script's input actions in the window at the game's pace, one
    // tick per kTickMs; the player's input is held back until it ends, except
    // Escape, which stops it and leaves the game playable. The script must
    // hold only what replayable() accepts. What it plays is someone else's
    // game: it does not count in the player's progress.
    void StartReplay(std::vector<play::Action> actions);
    bool replaying() const { return !replay_.empty(); }
    // Why a script cannot be replayed in the window (naming its line), or an
    // empty string.
    static QString unreplayable(const play::Script& script);
    // A task file named on the command line, loaded as the player's step.
    void LoadTaskFile(const QString& path);
    // A task link (vokta:CODE) the program was started with, opened as the
    // player's step.
    void OpenTaskLink(const QString& link);

    // The running game; null before StartGame().
    Game* game() { return shell_.started() ? &shell_.game() : nullptr; }
    Shell& shell() { return shell_; }
    GameMenus* menus() const { return menus_; }
    Help& help() { return help_; }

    // ShellView
    void menusChanged() override;
    void showNotice(const Notice& notice) override;
    void repaintNow() override;
    void pauseForFanfare() override;
    void showHelp(Command topic) override;
    void showHelpPopup(Command command, std::string_view html) override;
    void showAbout() override;
    void pickTaskFile(Command command) override;
    void pickLibraryTask(const std::vector<LibraryEntry>& tasks) override;
    void pickDifficulty() override;
    void makeTask(std::shared_ptr<TaskOrder> order) override;
    void optionChanged(Stored option) override;
    void announce(const Spoken& spoken) override;
    void showTaskCode(std::string_view code) override;
    void askTaskCode() override;

signals:
    // Every sound the game asks for, heard or not.
    void soundRequested(vokta::Cue cue);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The game's sound, passed on to the audio device once it is open.
    class SoundRelay : public SoundOutput {
    public:
        explicit SoundRelay(MainWindow& window) : window_(window) {}
        void play(Cue cue) override;
        SoundOutput* device = nullptr;

    private:
        MainWindow& window_;
    };

    // ViewInput: the player's input, held back during a replay.
    void keyDown(const KeyStroke& stroke) override;
    void keyUp(const KeyStroke& stroke) override;
    void keyboardLost() override;
    void mouse(const WindowMessage& message) override;

    void InstallTranslators();
    void RenderWhenIdle();
    void ReplayTick();
    void StopReplay();
    void OnDestroy();
    void OpenSound();
    // Gives the keyboard back to the game view once no menu, dialog or other
    // window of the game holds it.
    void ReturnKeyboardToView();
    // The task library that comes with the game.
    QString libraryFolder() const;

    std::string modelDirectory_;
    SettingsStore store_;
    SoundRelay soundRelay_{*this};
    Shell shell_;
    // Where the player last chose a task file of their own; empty until then.
    QString taskFolder_;
    // The menu open now was opened with the mouse, not with Alt.
    bool menuOpenedByMouse_ = false;
    QTranslator gameTranslator_;
    QTranslator qtTranslator_;
    GameMenus* menus_ = nullptr;
    Help help_;
    std::unique_ptr<SystemSound> sound_;
    QWidget* viewContainer_ = nullptr;
    GameView* view_ = nullptr;
    std::unique_ptr<SpokenView> spoken_;
    QTimer* timer_ = nullptr;
    QMetaObject::Connection idleHook_;
    unsigned seed_ = 0;

    std::FILE* recordFile_ = nullptr;
    std::unique_ptr<play::Recorder> recorder_;

    // The threads making tasks, each until the game has taken its task.
    std::vector<QThread*> makers_;

    std::vector<play::Action> replay_;
    std::size_t replayNext_ = 0;
    std::uint32_t replayTicksLeft_ = 0;
    QTimer* replayTimer_ = nullptr;
};

}  // namespace vokta
