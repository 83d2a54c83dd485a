#pragma once

// The coordinate system of the whole game, stated once.
//
// One cube edge is 10 model units (kCubeEdge). x and y run across the floor,
// z points up. A cube at (x, y, z) fills the box of edge 10 centred there; the
// lowest cubes stand at z = 0 and the floor mesh lies just below them, at
// z = -5.2 (kFloorHeight). After every move a piece's position is an exact
// multiple of 10 on every axis (snapping truncates toward zero); a cube's
// offset from its piece is -10, 0 or 10 per component; a falling piece's z
// changes in steps of 2. Positions are 32-bit floats and, being whole numbers,
// compare exactly.
//
// The view is left-handed: a frame's orientation puts its z axis on the view
// direction, its y axis towards the up vector, and its x axis on up x direction.
// So a camera at (100, 100, 100) looking along (-1, -1, -1) with up (0, 0, 1)
// sees the world direction (1, -1, 0) pointing to the right of the screen and
// (0, 0, 1) pointing up. Points are row vectors: (x, y, z, 1) times a 4 x 4
// matrix stored row by row. A polygon faces the viewer when its corners run
// clockwise on the screen; equivalently, for corners v0, v1, v2 the ordinary
// cross product (v1 - v0) x (v2 - v0) points out of the front side.

namespace vokta {

inline constexpr float kCubeEdge = 10.0f;
inline constexpr float kFloorHeight = -5.2f;

}  // namespace vokta
