#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "puzzle/rules/game_state.h"

namespace vokta {

// Where one piece goes in a solution: its position (the world cell of its
// cube 0) and its four cube offsets, as the game keeps them.
struct PiecePlace {
    int piece = 0;
    Cell position;
    CubeOffsets offsets{};
    bool operator==(const PiecePlace&) const = default;
};

// One way to fill a figure: a place for each piece it uses, in piece order.
using Solution = std::vector<PiecePlace>;

// The built-in cube assembled, as the start picture shows it.
inline const std::array<PiecePlace, kPieceTotal> kBuiltInSolution{{
    {0, {-10, 10, 10}, {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {0, 0, 0}}}},
    {1, {0, -10, 10}, {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {0, 10, 0}}}},
    {2, {10, 0, 0}, {{{0, 0, 0}, {0, -10, 0}, {0, 10, 0}, {0, 10, 10}}}},
    {3, {10, 0, 20}, {{{0, 0, 0}, {0, -10, 0}, {0, 0, -10}, {0, 10, 0}}}},
    {4, {-10, -10, 0}, {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {10, 10, 0}}}},
    {5, {-10, 0, 0}, {{{0, 0, 0}, {0, 10, 0}, {0, 0, 10}, {10, 10, 0}}}},
    {6, {-10, 0, 20}, {{{0, 0, 0}, {0, -10, 0}, {10, 0, 0}, {10, 10, 0}}}},
}};

// Finds how the first pieceCount pieces (as the shape table builds them,
// turned any of the 24 ways) fill the figure's cells exactly: every cell
// covered once, every piece used at most once: all of them, unless the
// figure has fewer cells than the pieces have cubes. Two
// solutions differ when some piece covers other cells. Cells off the grid
// or below the floor can never be filled.
class Solver {
public:
    // cells are world cell positions (multiples of 10 to be reachable); pieceCount 0 to 7.
    Solver(std::span<const Vec3> cells, int pieceCount);

    // fixed pieces keep their places (they must lie inside the figure).
    // visit sees every solution and answers whether to go on; returns the
    // number of solutions seen.
    std::uint64_t solve(const std::vector<PiecePlace>& fixed, const std::function<bool(const Solution&)>& visit) const;

    std::uint64_t count(const std::vector<PiecePlace>& fixed = {}) const;
    std::optional<Solution> first(const std::vector<PiecePlace>& fixed = {}) const;

    // The cells a piece at place covers, or nothing when one lies outside
    // the figure; as a bit for each of the figure's cells.
    std::optional<std::uint32_t> cover(const PiecePlace& place) const;

private:
    struct Placement {
        std::uint32_t cells;
        PiecePlace place;
    };

    int cellIndex(Cell cell) const;

    // The figure's cells, each once; none when it cannot be filled.
    std::vector<Cell> cells_;
    int pieceCount_;
    bool coverable_ = true;  // every cell reachable, no more of them than the pieces have cubes
    // For each cell, the placements whose lowest covered cell it is.
    std::vector<std::vector<Placement>> byLowestCell_;
};

// Whether the pieces of a solution can be let go one by one so that each
// comes to rest in its place, on the floor or on pieces let go before it;
// false when the solution needs a piece to hang in the air.
bool canBeBuilt(const Solution& solution);

// The distinct ways piece index can lie, turned by quarter turns about the
// world axes: its offsets as the turns leave them, cube 0 at the origin.
std::vector<CubeOffsets> orientations(int piece);

}  // namespace vokta
