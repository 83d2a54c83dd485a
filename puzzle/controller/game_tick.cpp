#include "puzzle/controller/game_tick.h"

#include "puzzle/controller/game_data.h"
#include "puzzle/controller/input.h"

namespace vokta {

namespace {

// Pieces wait for a falling piece below them to move on. When every falling
// piece waited this tick, they wait on each other (two pieces falling
// interlocked, each with a cube over the other's), and no one will move:
// they come to rest where they hang.
void endMutualWaiting(GameState& state, const std::array<FallStep, kPieceTotal>& steps, SoundOutput& sound)
{
    bool waiting = false;
    for (int i = 0; i < state.inPlay(); ++i) {
        const FallStep step = steps[static_cast<std::size_t>(i)];
        if (step == FallStep::Fell || step == FallStep::Landed)
            return;
        waiting = waiting || step == FallStep::Waiting;
    }
    if (!waiting)
        return;
    for (int i = 0; i < state.inPlay(); ++i) {
        if (steps[static_cast<std::size_t>(i)] == FallStep::Waiting) {
            state.piece(i).falling = false;
            sound.play(Cue::Refusal);
        }
    }
}

}  // namespace

void OnTimerTick(GameData& game)
{
    GameState& state = game.state;
    startFallingWhereUnsupported(state);
    std::array<FallStep, kPieceTotal> steps{};
    for (int i = 0; i < state.inPlay(); ++i)
        steps[static_cast<std::size_t>(i)] = step(state, i, game.sound);
    endMutualWaiting(state, steps, game.sound);
    // A held button keeps pulling the piece without the pointer moving. A
    // piece that came to rest on it in this tick's fall falls again at once
    // when the drag carries it away.
    if (game.pointer.mouseKeys == kMouseLeft && state.selected >= 0 && state.selectionMode == SelectionMode::Move) {
        dragUpdate(game, game.pointer.mouseX, game.pointer.mouseY);
        startFallingWhereUnsupported(state);
    }
    game.view.camera.update(1.0f);
    game.elapsedTicks += 1.0f;
    ++game.tickCount;
    game.present();

    if (state.selected >= 0 || state.taskCompleted || !isCompleted(state))
        return;

    game.view.scene.sceneDirty = true;
    game.shell.repaintNow();
    game.stepTunePending = false;
    // Set before the fanfare and the message, so ticks arriving meanwhile do not report the task again.
    state.taskCompleted = true;
    game.sound.play(Cue::Fanfare);
    game.shell.pauseForFanfare();
    game.shell.taskCompleted();
}

bool RenderWhenIdle(GameData& game, const std::function<void(float elapsedTicks)>& drawFrame)
{
    Scene& scene = game.view.scene;
    if (!scene.sceneDirty || game.elapsedTicks <= 0.0f)
        return false;
    drawFrame(game.elapsedTicks);
    if (game.stepTunePending) {
        game.sound.play(Cue::Step);
        game.stepTunePending = false;
    }
    game.elapsedTicks = 0.0f;
    scene.sceneDirty = false;
    return true;
}

}  // namespace vokta
