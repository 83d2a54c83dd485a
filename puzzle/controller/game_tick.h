#pragma once

#include <functional>

#include "puzzle/controller/game.h"

namespace vokta {

class GameData;

// One game tick, in this order: every piece in play falls a step, a piece
// held with the left button follows the pointer, the camera applies its speeds, the tick is counted, and, when nothing
// is selected and the task is not yet reported, the completion test runs; on success the final position is drawn, the
// fanfare plays and the success message shows.
void OnTimerTick(GameData& game);

// Called whenever the window is about to wait for input, so its queue is
// empty. Draws one frame (drawFrame gets the ticks elapsed since the last
// one) only when the scene changed and a tick has passed, then plays a
// pending step sound. Returns whether it drew.
bool RenderWhenIdle(GameData& game, const std::function<void(float elapsedTicks)>& drawFrame);

}  // namespace vokta
