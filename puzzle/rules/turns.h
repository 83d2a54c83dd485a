#pragma once

#include "puzzle/rules/cell.h"

namespace vokta {

// The quarter turn about world axis 0 (x), 1 (y) or 2 (z) with sense +1 or -1:
//   x: (x, y, z) becomes (x, s z, -s y)
//   y: (x, y, z) becomes (-s z, y, s x)
//   z: (x, y, z) becomes (s y, -s x, z)
// seen from the positive end of the axis, a turn by -s quarter turns.
Rotation quarterTurn(int axis, int sense);

}  // namespace vokta
