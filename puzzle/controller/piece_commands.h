#pragma once

#include <optional>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/input.h"
#include "puzzle/rules/cell.h"
#include "render/camera.h"

namespace vokta {

class GameData;

// Thresholds that turn a view vector's component into a grid step: moves
// step where it exceeds 0.4, turns pick an axis where it exceeds 0.6.
inline constexpr float kMoveThreshold = 0.4f;
inline constexpr float kTurnThreshold = 0.6f;

// What a piece command does to the selected piece as the camera looks: a
// step of whole cells, or a quarter turn. Nothing for a command that is no
// piece command, and for a turn the view gives no grid axis (too steep, or
// diagonal across the grid).
struct PieceAction {
    enum class Kind { Move, Turn };
    Kind kind = Kind::Move;
    Cell step;         // Move
    Rotation quarter;  // Turn
};
std::optional<PieceAction> pieceAction(const Camera& camera, Command command);

// The piece command of an arrow or page key: its move without Shift, its
// turn with it; nothing for other keys.
std::optional<Command> pieceCommandOfKey(Key key, bool shift);

// Carries out a piece command (Move Left to Turn Backward) on the selected
// piece, relative to the current view, then places the markers again. Any
// other command, and any command with nothing selected, only places the
// markers.
void executePieceCommand(GameData& game, Command command);

// The arrow and page keys as piece commands: moves without Shift, turns with
// it. Other keys do nothing.
void onPieceKey(GameData& game, Key key, bool shift);

}  // namespace vokta
