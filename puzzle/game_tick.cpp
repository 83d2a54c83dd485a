#include "puzzle/game_tick.h"

#include "puzzle/game.h"

namespace vokta {

void OnTimerTick(Game& game)
{
    for (Piece* piece : game.piecesInPlay())
        piece->step(1.0f);
    game.camera.update(1.0f);
    game.elapsedTicks += 1.0f;

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

bool RenderWhenIdle(Game& game, bool inputWaiting, const std::function<void(float elapsedTicks)>& drawFrame)
{
    if (!game.scene.sceneDirty || game.elapsedTicks <= 0.0f || inputWaiting)
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
