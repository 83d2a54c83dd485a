#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/history.h"
#include "puzzle/controller/pointer.h"
#include "puzzle/rules/game_state.h"
#include "puzzle/rules/hint.h"
#include "puzzle/rules/sound_output.h"
#include "puzzle/rules/task_file.h"
#include "puzzle/scene/game_scene.h"

namespace vokta {

// What the rules ask of the front end around them: the Qt window,
// vokta-play and its soak, and the browser page each implement it, with a
// SoundOutput for the cues. Every front end drives the game the same way:
// MainWndProc (routing.h) for each of its messages, OnTimerTick every
// kTickMs and RenderWhenIdle (game_tick.h) when its queue is empty.
class GameShell {
public:
    virtual ~GameShell() = default;
    // Draws the scene as it stands now, before anything else happens.
    virtual void repaintNow() = 0;
    // Waits while the fanfare plays (2000 ms in the game).
    virtual void pauseForFanfare() = 0;
    // "Task completed", in the language of the interface.
    virtual void showSuccessMessage() = 0;
    // Brings the menus in line with the selection and the figure's view.
    virtual void refreshMenuState() = 0;
    // Tells the player why a task file was refused or not saved (see
    // describeTaskFileError for its words).
    virtual void showTaskFileError(const TaskFileError& error) = 0;
    // The open and save dialogs for task files: the path chosen, or nothing
    // when the player cancelled.
    virtual std::optional<std::string> chooseTaskFileToLoad() = 0;
    virtual std::optional<std::string> chooseTaskFileToSave() = 0;
    // What the Hint command found (the ghost of a piece to place needs no words).
    virtual void showHint(const Hint& hint) = 0;
    // A menu command that belongs to the window rather than to the game:
    // About, the help pages, the language switch and the task library.
    virtual void runShellCommand(Command command) = 0;
};

// A running game: the rules' state, the scene that shows it, the mouse and
// drag, the steps to undo, and the window and sound it talks to. The window
// owns one; vokta-play, the soak and tests make their own.
class Game {
public:
    // Model files are read from modelDirectory. The scene is empty until setUpScene().
    Game(std::string modelDirectory, SoundOutput& sound, GameShell& shell)
        : view(std::move(modelDirectory)), sound(sound), shell(shell)
    {
    }

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The scene follows the state: called after every change.
    void present() { view.show(state, ghost()); }

    GameState state;
    GameScene view;
    PointerState pointer;
    SoundOutput& sound;
    GameShell& shell;

    // The hint shown, until the next action.
    std::optional<Hint> hint;
    // Ticks since the game started.
    std::int64_t tickCount = 0;
    // The attempt at the current task, the steps that can be undone and
    // redone, and the drag under way, if any.
    TaskRun run;
    History history;
    std::optional<Gesture> gesture;
    // Ticks since the last frame was drawn.
    float elapsedTicks = 0.0f;
    // A drag step asked for the step sound; it plays after the next frame.
    bool stepTunePending = false;

private:
    std::optional<Ghost> ghost() const
    {
        if (!hint || hint->kind != Hint::Kind::Place)
            return std::nullopt;
        return Ghost{hint->piece, hint->place.position, hint->place.offsets};
    }
};

}  // namespace vokta
