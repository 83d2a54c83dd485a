#pragma once

#include "puzzle/controller/commands.h"
#include "puzzle/controller/input.h"

namespace vokta {

class GameData;

// Thresholds that turn a view vector's component into a grid step: moves
// step where it exceeds 0.4, turns pick an axis where it exceeds 0.6.
inline constexpr float kMoveThreshold = 0.4f;
inline constexpr float kTurnThreshold = 0.6f;

// Carries out a piece command (Move Left to Turn Backward) on the selected
// piece, relative to the current view, then places the markers again. Any
// other command, and any command with nothing selected, only places the
// markers.
void executePieceCommand(GameData& game, Command command);

// The arrow and page keys as piece commands: moves without Shift, turns with
// it. Other keys do nothing.
void onPieceKey(GameData& game, Key key, bool shift);

}  // namespace vokta
