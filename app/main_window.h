#pragma once

#include <memory>
#include <string>

#include <QMainWindow>
#include <QTranslator>

#include "app/help.h"
#include "app/menus.h"
#include "app/settings.h"
#include "puzzle/game.h"

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
    void OnMenuCommand(int command);

    GameView* view() const { return view_; }
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
    void runShellCommand(int command) override;
    void showHint(const Hint& hint) override;

signals:
    // Every sound the game asks for, heard or not.
    void soundRequested(vokta::Cue cue);

protected:
    void closeEvent(QCloseEvent* event) override;
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
    void toggleDisplayOption(int command);
    void RenderWhenIdle();
    void OnDestroy();
    void OpenSound();
    std::optional<std::string> chooseTaskFile(bool forSaving);
    // The task library that comes with the game.
    QString libraryFolder() const;
    static QString taskFileProblem(const TaskFileError& error);

    std::string modelDirectory_;
    // Where the player last chose a task file of their own; empty until then.
    QString taskFolder_;
    LanguageSetting setting_;
    Language language_ = Language::English;
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
};

}  // namespace vokta
