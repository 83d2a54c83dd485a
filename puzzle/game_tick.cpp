#include "puzzle/game_tick.h"

#include "puzzle/game.h"
#include "puzzle/input.h"

namespace vokta {

namespace {

// Pieces wait for a falling piece below them to move on. When every falling
// piece waited this tick, they wait on each other (two pieces falling
// interlocked, each with a cube over the other's), and no one will move:
// they come to rest where they hang.
void endMutualWaiting(Game& game)
{
    bool waiting = false;
    for (const Piece* piece : game.piecesInPlay()) {
        const FallStep step = piece->lastFallStep();
        if (step == FallStep::Fell || step == FallStep::Landed)
            return;
        waiting = waiting || step == FallStep::Waiting;
    }
    if (!waiting)
        return;
    for (Piece* piece : game.piecesInPlay()) {
        if (piece->lastFallStep() == FallStep::Waiting)
            piece->stopWaiting();
    }
}

// A piece left with nothing under it (the piece below was carried or turned
// away, or falls on) falls again, and so does what rests on it.
void startFallingWhereUnsupported(Game& game)
{
    for (bool started = true; started;) {
        started = false;
        for (Piece* piece : game.piecesInPlay()) {
            if (!piece->falling && piece != game.selectedPiece && !piece->isSupported()) {
                piece->falling = true;
                started = true;
            }
        }
    }
}

}  // namespace

void OnTimerTick(Game& game)
{
    startFallingWhereUnsupported(game);
    for (Piece* piece : game.piecesInPlay())
        piece->step(1.0f);
    endMutualWaiting(game);
    // A held button keeps pulling the piece without the pointer moving. A
    // piece that came to rest on it in this tick's fall falls again at once
    // when the drag carries it away.
    if (game.mouseKeys == kMouseLeft && game.selectedPiece && game.selectionMode == SelectionMode::Move) {
        dragUpdate(game, game.mouseX, game.mouseY);
        startFallingWhereUnsupported(game);
    }
    game.camera.update(1.0f);
    game.elapsedTicks += 1.0f;
    ++game.tickCount;

    if (game.selectedPiece || game.taskCompleted)
        return;
    if (!game.taskFigure || !game.taskFigure->isCompleted())
        return;

    game.scene.sceneDirty = true;
    game.shell.repaintNow();
    game.stepTunePending = false;
    // Set before the fanfare and the message, so ticks arriving meanwhile do not report the task again.
    game.taskCompleted = true;
    game.sound.play(Cue::Fanfare);
    game.shell.pauseForFanfare();
    game.shell.showSuccessMessage();
}

bool RenderWhenIdle(Game& game, const std::function<void(float elapsedTicks)>& drawFrame)
{
    if (!game.scene.sceneDirty || game.elapsedTicks <= 0.0f)
        return false;
    drawFrame(game.elapsedTicks);
    if (game.stepTunePending) {
        game.sound.play(Cue::Step);
        game.stepTunePending = false;
    }
    game.elapsedTicks = 0.0f;
    game.scene.sceneDirty = false;
    return true;
}

}  // namespace vokta
