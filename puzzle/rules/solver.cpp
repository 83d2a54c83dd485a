#include "puzzle/rules/solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <set>

#include "geometry/coordinates.h"
#include "puzzle/rules/turns.h"

namespace vokta {

namespace {

// A piece's cube cells relative to cube 0, as a sorted list: two
// orientations with the same list cover the same cells.
std::vector<Cell> shapeKey(const CubeOffsets& offsets, int cubes)
{
    std::vector<Cell> key(offsets.begin(), offsets.begin() + cubes);
    std::sort(key.begin(), key.end());
    return key;
}

}  // namespace

std::vector<CubeOffsets> orientations(int piece)
{
    // Every orientation is reached by turns about x and z from the shape
    // as built: breadth first over the offset lists.
    std::vector<CubeOffsets> found{kPieceShapes[static_cast<std::size_t>(piece)]};
    std::set<std::vector<Cell>> seen{shapeKey(found[0], kCubesPerPiece)};
    std::set<std::vector<Cell>> shapes{shapeKey(found[0], cubeCount(piece))};
    std::vector<CubeOffsets> distinct{found[0]};
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (const int axis : {0, 2}) {
            const Rotation turn = quarterTurn(axis, 1);
            CubeOffsets next = found[i];
            for (Cell& offset : next)
                offset = rotate(offset, turn);
            if (!seen.insert(shapeKey(next, kCubesPerPiece)).second)
                continue;
            found.push_back(next);
            if (shapes.insert(shapeKey(next, cubeCount(piece))).second)
                distinct.push_back(next);
        }
    }
    return distinct;
}

Solver::Solver(std::span<const Vec3> cells, int pieceCount) : pieceCount_(std::clamp(pieceCount, 0, kPieceTotal))
{
    std::vector<Vec3> distinct;
    for (const Vec3& cell : cells) {
        if (std::find(distinct.begin(), distinct.end(), cell) == distinct.end())
            distinct.push_back(cell);
    }
    int cubes = 0;
    for (int p = 0; p < pieceCount_; ++p)
        cubes += cubeCount(p);
    // Pieces stand on the grid and never below the floor; a figure with
    // fewer cells than the pieces have cubes leaves some pieces out.
    const auto reachable = [](const Vec3& cell) {
        return std::fmod(cell.x, kCubeEdge) == 0.0f && std::fmod(cell.y, kCubeEdge) == 0.0f &&
            std::fmod(cell.z, kCubeEdge) == 0.0f && cell.z >= 0.0f;
    };
    coverable_ = distinct.size() <= 32 && static_cast<int>(distinct.size()) <= cubes &&
        std::all_of(distinct.begin(), distinct.end(), reachable);
    if (!coverable_)
        return;
    for (const Vec3& cell : distinct)
        cells_.push_back({static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z)});
    // The cell within two edges of each cell on every axis, as cover() would
    // find it: a piece's cubes lie no farther from its cube 0.
    constexpr int kReach = 2;
    constexpr int kSide = 2 * kReach + 1;
    const auto nearIndex = [](Cell offset) {
        return ((offset.x / 10 + kReach) * kSide + offset.y / 10 + kReach) * kSide + offset.z / 10 + kReach;
    };
    std::vector<std::array<std::int8_t, kSide * kSide * kSide>> near(cells_.size());
    for (std::size_t a = 0; a < cells_.size(); ++a) {
        near[a].fill(-1);
        for (std::size_t b = 0; b < cells_.size(); ++b) {
            const Cell d = cells_[b] - cells_[a];
            if (std::abs(d.x) <= 10 * kReach && std::abs(d.y) <= 10 * kReach && std::abs(d.z) <= 10 * kReach)
                near[a][static_cast<std::size_t>(nearIndex(d))] = static_cast<std::int8_t>(b);
        }
    }
    byLowestCell_.resize(cells_.size());
    for (int p = 0; p < pieceCount_; ++p) {
        std::set<std::uint32_t> covered;
        for (const CubeOffsets& offsets : orientations(p)) {
            for (std::size_t at = 0; at < cells_.size(); ++at) {
                std::uint32_t mask = 0;
                bool inside = true;
                for (int c = 0; c < cubeCount(p) && inside; ++c) {
                    const int index =
                        near[at][static_cast<std::size_t>(nearIndex(offsets[static_cast<std::size_t>(c)]))];
                    inside = index >= 0;
                    mask |= inside ? 1u << index : 0u;
                }
                if (!inside || !covered.insert(mask).second)
                    continue;
                byLowestCell_[static_cast<std::size_t>(std::countr_zero(mask))].push_back(
                    {mask, PiecePlace{p, cells_[at], offsets}});
            }
        }
    }
}

int Solver::cellIndex(Cell cell) const
{
    const auto found = std::find(cells_.begin(), cells_.end(), cell);
    return found == cells_.end() ? -1 : static_cast<int>(found - cells_.begin());
}

std::optional<std::uint32_t> Solver::cover(const PiecePlace& place) const
{
    std::uint32_t mask = 0;
    for (int c = 0; c < cubeCount(place.piece); ++c) {
        const int index = cellIndex(place.position + place.offsets[static_cast<std::size_t>(c)]);
        if (index < 0)
            return std::nullopt;
        mask |= 1u << index;
    }
    return mask;
}

std::uint64_t Solver::solve(const std::vector<PiecePlace>& fixed,
                            const std::function<bool(const Solution&)>& visit) const
{
    if (!coverable_)
        return 0;
    const std::uint32_t all = cells_.size() == 32 ? ~0u : (1u << cells_.size()) - 1;
    std::uint32_t filled = 0;
    unsigned used = 0;
    Solution places(static_cast<std::size_t>(pieceCount_));
    for (const PiecePlace& place : fixed) {
        const std::optional<std::uint32_t> mask = cover(place);
        if (place.piece < 0 || place.piece >= pieceCount_ || !mask || (*mask & filled) || (used & (1u << place.piece)))
            return 0;
        filled |= *mask;
        used |= 1u << place.piece;
        places[static_cast<std::size_t>(place.piece)] = place;
    }

    std::uint64_t found = 0;
    bool stop = false;
    Solution solution;
    // Fills the lowest empty cell with every placement that fits, in turn.
    const std::function<void()> fill = [&] {
        if (filled == all) {
            ++found;
            solution.clear();
            for (int p = 0; p < pieceCount_; ++p) {
                if (used & (1u << p))
                    solution.push_back(places[static_cast<std::size_t>(p)]);
            }
            stop = !visit(solution);
            return;
        }
        const int lowest = std::countr_zero(~filled & all);
        for (const Placement& placement : byLowestCell_[static_cast<std::size_t>(lowest)]) {
            if ((placement.cells & filled) || (used & (1u << placement.place.piece)))
                continue;
            filled |= placement.cells;
            used |= 1u << placement.place.piece;
            places[static_cast<std::size_t>(placement.place.piece)] = placement.place;
            fill();
            filled &= ~placement.cells;
            used &= ~(1u << placement.place.piece);
            if (stop)
                return;
        }
    };
    fill();
    return found;
}

bool canBeBuilt(const Solution& solution)
{
    std::set<Cell> standing;
    const auto rests = [&](const PiecePlace& place) {
        for (int c = 0; c < cubeCount(place.piece); ++c) {
            const Cell cube = place.position + place.offsets[static_cast<std::size_t>(c)];
            if (cube.z == 0 || standing.contains(cube - Cell{0, 0, 10}))
                return true;
        }
        return false;
    };
    // Letting a piece go only ever gives the others more to rest on, so
    // taking any piece that rests, while there is one, finds an order if
    // there is any.
    std::vector<bool> down(solution.size(), false);
    for (std::size_t left = solution.size(); left > 0; --left) {
        std::size_t next = 0;
        while (next < solution.size() && (down[next] || !rests(solution[next])))
            ++next;
        if (next == solution.size())
            return false;
        down[next] = true;
        for (int c = 0; c < cubeCount(solution[next].piece); ++c)
            standing.insert(solution[next].position + solution[next].offsets[static_cast<std::size_t>(c)]);
    }
    return true;
}

std::uint64_t Solver::count(const std::vector<PiecePlace>& fixed) const
{
    return solve(fixed, [](const Solution&) { return true; });
}

std::optional<Solution> Solver::first(const std::vector<PiecePlace>& fixed) const
{
    std::optional<Solution> solution;
    solve(fixed, [&solution](const Solution& found) {
        solution = found;
        return false;
    });
    return solution;
}

}  // namespace vokta
