#pragma once

#include <array>

#include "geometry/vector.h"

namespace vokta {

// A point of the rules, in whole units (see geometry/coordinates.h: cube edge
// 10, x and y across the floor, z up). Pieces stand on cells whose
// coordinates are multiples of 10 across the floor; a falling piece drops 2
// units a tick, so its height may be any even number.
struct Cell {
    int x = 0;
    int y = 0;
    int z = 0;

    friend constexpr Cell operator+(Cell a, Cell b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend constexpr Cell operator-(Cell a, Cell b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend constexpr Cell operator-(Cell a) { return {-a.x, -a.y, -a.z}; }
    friend constexpr bool operator==(Cell a, Cell b) = default;
    friend constexpr auto operator<=>(Cell a, Cell b) = default;
};

// The same point for the scene and the camera, which compute in floats.
constexpr Vec3 toVec3(Cell c)
{
    return {static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z)};
}

inline constexpr int kCubesPerPiece = 4;
// Where a piece's cubes stand around its position.
using CubeOffsets = std::array<Cell, kCubesPerPiece>;

// A turn of a piece made of quarter turns about the world axes: the offset o
// becomes o * rows (o as a row vector), so it maps cells to cells exactly.
struct Rotation {
    std::array<Cell, 3> rows{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

    friend constexpr bool operator==(const Rotation&, const Rotation&) = default;
};

constexpr Cell rotate(Cell o, const Rotation& r)
{
    return {o.x * r.rows[0].x + o.y * r.rows[1].x + o.z * r.rows[2].x,
            o.x * r.rows[0].y + o.y * r.rows[1].y + o.z * r.rows[2].y,
            o.x * r.rows[0].z + o.y * r.rows[1].z + o.z * r.rows[2].z};
}

// First a, then b.
constexpr Rotation operator*(const Rotation& a, const Rotation& b)
{
    return {{rotate(a.rows[0], b), rotate(a.rows[1], b), rotate(a.rows[2], b)}};
}

}  // namespace vokta
