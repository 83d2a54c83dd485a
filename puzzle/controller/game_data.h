#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/game_shell.h"
#include "puzzle/controller/history.h"
#include "puzzle/controller/pointer.h"
#include "puzzle/rules/game_state.h"
#include "puzzle/rules/hint.h"
#include "puzzle/rules/sound_output.h"
#include "puzzle/rules/task_file.h"
#include "puzzle/scene/game_scene.h"

namespace vokta {

// Everything a running game holds, as the controller's functions share it:
// the rules' state, the scene that shows it, the mouse and drag, the steps
// to undo, and the shell and sound it talks to. Front ends reach it through
// Game (game.h) alone; the controller's own tests build one directly.
class GameData {
public:
    // Model files are read from modelDirectory. The scene is empty until setUpScene().
    GameData(std::string modelDirectory, SoundOutput& sound, GameShell& shell)
        : view(std::move(modelDirectory)), sound(sound), shell(shell)
    {
    }

    GameData(const GameData&) = delete;
    GameData& operator=(const GameData&) = delete;

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
