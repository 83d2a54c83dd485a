#pragma once

#include "render/matrix.h"

namespace vokta {

class Game;
class Piece;

// A quarter of a full turn in radians, as a float.
inline constexpr float kHalfPi = 1.5707964f;

// A quarter turn about a world axis: the map of cube offsets, and the same
// turn of the piece's frame as an axis and angle.
struct QuarterTurn {
    Matrix4 matrix;
    Vec3 axis;
    float angle;
};

// The quarter turn about world axis 0 (x), 1 (y) or 2 (z) with sense +1 or -1:
//   x: (x, y, z) becomes (x, s z, -s y)
//   y: (x, y, z) becomes (-s z, y, s x)
//   z: (x, y, z) becomes (s y, -s x, z)
// with the frame turned by -s pi/2 about that axis, which moves the cubes of
// the piece's mesh exactly where the offset map moves its offsets.
QuarterTurn quarterTurn(int axis, int sense);

// Turns the piece about its own position: its offsets by matrix, its frame by
// angle about axis. A turn that does not fit is refused (the refusal sound
// plays) and changes nothing. Returns whether it turned.
bool turnQuarter(Game& game, Piece& piece, const Matrix4& matrix, Vec3 axis, float angle);

}  // namespace vokta
