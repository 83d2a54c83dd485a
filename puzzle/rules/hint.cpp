#include "puzzle/rules/hint.h"

#include <algorithm>

namespace vokta {

namespace {

// The pieces in play that lie wholly inside the figure, as they lie.
std::vector<PiecePlace> placedPieces(const GameState& state, const Solver& solver)
{
    std::vector<PiecePlace> placed;
    for (int p = 0; p < state.inPlay(); ++p) {
        const PiecePlace place{p, state.piece(p).position, state.piece(p).offsets};
        if (solver.cover(place))
            placed.push_back(place);
    }
    return placed;
}

// A piece whose taking out (alone, or with one more) lets a solution keep
// the rest; -1 when there is none.
int pieceToTakeOut(const Solver& solver, const std::vector<PiecePlace>& placed)
{
    for (std::size_t size = placed.size(); size-- > 0 && size + 2 >= placed.size();) {
        for (std::size_t first = 0; first < placed.size(); ++first) {
            for (std::size_t second = first; second < placed.size(); ++second) {
                if (placed.size() - (first == second ? 1 : 2) != size)
                    continue;
                std::vector<PiecePlace> kept;
                for (std::size_t k = 0; k < placed.size(); ++k) {
                    if (k != first && k != second)
                        kept.push_back(placed[k]);
                }
                if (solver.first(kept))
                    return placed[first].piece;
            }
        }
    }
    return -1;
}

// The piece in play with a cube at cell, or -1.
int pieceAt(const GameState& state, Cell cell)
{
    for (int p = 0; p < state.inPlay(); ++p) {
        for (int c = 0; c < cubeCount(p); ++c) {
            if (state.piece(p).cube(c) == cell)
                return p;
        }
    }
    return -1;
}

// A piece of the solution not yet in its place that can go there now: no
// other piece is in the way and it would come to rest there.
std::optional<PiecePlace> nextStep(const GameState& state, const Solution& solution,
                                   const std::vector<PiecePlace>& placed)
{
    const auto other = [&state](Cell cell, int piece) {
        const int found = pieceAt(state, cell);
        return found >= 0 && found != piece;
    };
    for (const PiecePlace& place : solution) {
        if (std::find(placed.begin(), placed.end(), place) != placed.end())
            continue;
        bool free = true;
        bool rests = false;
        for (int c = 0; c < cubeCount(place.piece); ++c) {
            const Cell cube = place.position + place.offsets[static_cast<std::size_t>(c)];
            free = free && !other(cube, place.piece);
            rests = rests || cube.z == 0 || other(cube - Cell{0, 0, 10}, place.piece);
        }
        if (free && rests)
            return place;
    }
    return std::nullopt;
}

// A piece standing where the solution puts another; -1 when there is none.
int pieceInTheWay(const GameState& state, const Solution& solution)
{
    for (const PiecePlace& place : solution) {
        for (int c = 0; c < cubeCount(place.piece); ++c) {
            const int found = pieceAt(state, place.position + place.offsets[static_cast<std::size_t>(c)]);
            if (found >= 0 && found != place.piece)
                return found;
        }
    }
    return -1;
}

}  // namespace

Hint findHint(const GameState& state)
{
    if (state.cellCount <= 0 || !state.figure.shown)
        return {};
    std::vector<Vec3> cells;
    for (int k = 0; k < std::min(state.cellCount, kMaxCells); ++k)
        cells.push_back(state.figure.position + state.figure.cells[static_cast<std::size_t>(k)]);
    const Solver solver(cells, state.pieceCount);
    const std::vector<PiecePlace> placed = placedPieces(state, solver);
    // The first solution that keeps the placed pieces and has a piece that
    // can go to its place now.
    std::optional<Solution> first;
    std::optional<PiecePlace> step;
    solver.solve(placed, [&](const Solution& solution) {
        if (!first)
            first = solution;
        step = nextStep(state, solution, placed);
        return !step;
    });
    if (step)
        return {Hint::Kind::Place, step->piece, *step};
    if (first && first->size() == placed.size())
        return {Hint::Kind::Solved, -1, {}};
    if (first) {
        // Every way on is blocked: by a piece standing where another must go,
        // or, failing that, by the figure needing a piece to hang in the air
        // for now; then the ghost shows where the first piece goes all the same.
        if (const int blocking = pieceInTheWay(state, *first); blocking >= 0)
            return {Hint::Kind::TakeOut, blocking, {}};
        for (const PiecePlace& place : *first) {
            if (std::find(placed.begin(), placed.end(), place) == placed.end())
                return {Hint::Kind::Place, place.piece, place};
        }
    }
    if (!solver.first())
        return {Hint::Kind::Unsolvable, -1, {}};
    return {Hint::Kind::TakeOut, pieceToTakeOut(solver, placed), {}};
}

}  // namespace vokta
