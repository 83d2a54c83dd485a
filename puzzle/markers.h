#pragma once

namespace vokta {

class Game;
class Roller;

// Places the rollers for the selection, its mode and the camera: around the
// piece in turn mode, facing the camera's side; parked otherwise. (The
// direction marker follows the state with the rest of the scene.)
void updateMarkers(Game& game);

// Turns the selected piece a quarter turn about roller's world axis, in the
// roller's sense; a turn that does not fit is refused with the refusal sound.
// Nothing happens while nothing is selected.
void turnByRoller(Game& game, const Roller& roller);

}  // namespace vokta
