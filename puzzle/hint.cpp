#include "puzzle/hint.h"

#include "puzzle/game.h"
#include "puzzle/markers.h"
#include "puzzle/selection.h"

namespace vokta {

namespace {

// The ghost's see-through: half the piece's own colour.
constexpr Colour kGhostAlpha = 0x80000000;

// The pieces in play that lie wholly inside the figure, as they lie.
std::vector<PiecePlace> placedPieces(const Game& game, const Solver& solver)
{
    std::vector<PiecePlace> placed;
    const std::span<Piece* const> pieces = game.piecesInPlay();
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const PiecePlace place{static_cast<int>(p), pieces[p]->position(), pieces[p]->offsets};
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

}  // namespace

Hint findHint(const Game& game)
{
    if (game.cellCount <= 0 || !game.taskFigure || game.taskFigure->frame()->visuals().empty())
        return {};
    std::vector<Vec3> cells;
    for (int k = 0; k < std::min(game.cellCount, kMaxCells); ++k)
        cells.push_back(game.taskFigure->position() + game.taskFigure->cells()[static_cast<std::size_t>(k)]);
    const Solver solver(cells, game.pieceCount);
    const std::vector<PiecePlace> placed = placedPieces(game, solver);
    if (const std::optional<Solution> solution = solver.first(placed)) {
        for (const PiecePlace& place : *solution) {
            const bool inPlace = std::find(placed.begin(), placed.end(), place) != placed.end();
            if (!inPlace)
                return {Hint::Kind::Place, place.piece, place};
        }
        return {Hint::Kind::Solved, -1, {}};
    }
    if (!solver.first())
        return {Hint::Kind::Unsolvable, -1, {}};
    return {Hint::Kind::TakeOut, pieceToTakeOut(solver, placed), {}};
}

void OnHint(Game& game)
{
    hideHint(game);
    const Hint hint = findHint(game);
    if (hint.kind == Hint::Kind::Place) {
        Piece& ghost = *game.hintGhost;
        ghost.buildMesh(hint.place.offsets);
        const Colour colour = kPieceColours[static_cast<std::size_t>(hint.piece)];
        ghost.setColour((colour & 0x00FFFFFF) | kGhostAlpha);
        ghost.setQuality(RenderQuality::Flat);
        ghost.setPosition(hint.place.position);
    } else if (hint.kind == Hint::Kind::TakeOut && hint.piece >= 0) {
        selectPiece(game, *game.pieces[static_cast<std::size_t>(hint.piece)]);
    }
    game.hint = hint;
    game.shell.showHint(hint);
}

void hideHint(Game& game)
{
    if (game.hint && game.hint->kind == Hint::Kind::Place && game.hintGhost)
        game.hintGhost->setPosition(kParkingPosition);
    game.hint.reset();
}

}  // namespace vokta
