#pragma once

#include "puzzle/rules/game_state.h"
#include "puzzle/scene/game_scene.h"

namespace vokta {

// Places the rollers for the selection, its mode and the camera: around the
// piece in turn mode, facing the camera's side; parked otherwise. (The
// direction marker follows the state with the rest of the scene.)
void placeRollers(GameScene& view, const GameState& state);

}  // namespace vokta
