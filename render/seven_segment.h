#pragma once

#include "render/mesh_builder.h"

namespace vokta {

// Adds digit (0 to 9) to mesh as the bars of a seven-segment display: flat
// quads of colour, height tall and 0.55 of that wide, centred on centre in the
// plane of the unit vectors right and up. They face up x right, the side from
// which right is on the right in the game's left-handed view (see
// coordinates.h). Other digits add nothing.
void addSevenSegmentDigit(MeshBuilder& mesh, int digit, Vec3 centre, Vec3 right, Vec3 up, float height, Colour colour);

}  // namespace vokta
