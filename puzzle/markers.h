#pragma once

#include <array>

#include "render/scene_object.h"

namespace vokta {

class Game;

inline constexpr int kRollerCount = 6;
// Where an unused marker waits: far beyond the back clipping plane, so it is neither seen nor picked.
inline constexpr Vec3 kParkingPosition{10000.0f, 10000.0f, 10000.0f};
// Distance of a roller from the piece position: three cells, clear of every cube.
inline constexpr float kMarkerDistance = 30.0f;

// A rotation handle: clicking it turns the selected piece a quarter turn about
// a world axis.
class Roller : public SceneObject {
public:
    using SceneObject::SceneObject;

    int axis = 0;  // 0 x, 1 y, 2 z
    bool positive = false;
};

// Places the direction marker and the rollers for the selection, its mode and
// the camera: rollers around the piece in turn mode, the marker at the piece
// in move mode, everything else parked.
void updateMarkers(Game& game);

// Turns the selected piece a quarter turn about roller's world axis, in the
// roller's sense; a turn that does not fit is refused with the refusal sound.
// Nothing happens while nothing is selected.
void turnByRoller(Game& game, const Roller& roller);

}  // namespace vokta
