#include "puzzle/hint.h"

#include "puzzle/game.h"
#include "puzzle/markers.h"
#include "puzzle/selection.h"
#include "render/coordinates.h"

// Marks the words the window translates, for lupdate; here they stay as
// they are.
#define QT_TRANSLATE_NOOP(context, text) text

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

// The piece in play with a cube at cell, or -1.
int pieceAt(const Game& game, Vec3 cell)
{
    const std::span<Piece* const> pieces = game.piecesInPlay();
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        for (int c = 0; c < cubeCount(p); ++c) {
            if (pieces[p]->cube(c) == cell)
                return static_cast<int>(p);
        }
    }
    return -1;
}

// A piece of the solution not yet in its place that can go there now: no
// other piece is in the way and it would come to rest there.
std::optional<PiecePlace> nextStep(const Game& game, const Solution& solution, const std::vector<PiecePlace>& placed)
{
    const auto other = [&game](Vec3 cell, int piece) {
        const int found = pieceAt(game, cell);
        return found >= 0 && found != piece;
    };
    for (const PiecePlace& place : solution) {
        if (std::find(placed.begin(), placed.end(), place) != placed.end())
            continue;
        bool free = true;
        bool rests = false;
        for (int c = 0; c < cubeCount(place.piece); ++c) {
            const Vec3 cube = place.position + place.offsets[static_cast<std::size_t>(c)];
            free = free && !other(cube, place.piece);
            rests = rests || cube.z == 0.0f || other(cube - Vec3{0, 0, kCubeEdge}, place.piece);
        }
        if (free && rests)
            return place;
    }
    return std::nullopt;
}

// A piece standing where the solution puts another; -1 when there is none.
int pieceInTheWay(const Game& game, const Solution& solution)
{
    for (const PiecePlace& place : solution) {
        for (int c = 0; c < cubeCount(place.piece); ++c) {
            const int found = pieceAt(game, place.position + place.offsets[static_cast<std::size_t>(c)]);
            if (found >= 0 && found != place.piece)
                return found;
        }
    }
    return -1;
}

}  // namespace

HintWords hintWords(const Hint& hint, const Palette& palette)
{
    switch (hint.kind) {
    case Hint::Kind::Place: return {};
    case Hint::Kind::TakeOut:
        if (hint.piece < 0 || hint.piece >= kPieceTotal)
            return {QT_TRANSLATE_NOOP("vokta::MainWindow",
                                      "No solution keeps the pieces where they are: take some of them out.")};
        return {QT_TRANSLATE_NOOP("vokta::MainWindow",
                                  "No solution keeps every piece where it is. Take out the %1 "
                                  "piece, which is selected now."),
                palette.pieces[static_cast<std::size_t>(hint.piece)].name.data()};
    case Hint::Kind::Unsolvable: return {QT_TRANSLATE_NOOP("vokta::MainWindow", "This task has no solution.")};
    case Hint::Kind::Solved: return {QT_TRANSLATE_NOOP("vokta::MainWindow", "Every piece is in its place.")};
    case Hint::Kind::NoTask:
        return {QT_TRANSLATE_NOOP("vokta::MainWindow",
                                  "There is no task to give a hint for: build freely, or load a task.")};
    }
    return {};
}

std::string hintText(const Hint& hint, const Palette& palette)
{
    const HintWords words = hintWords(hint, palette);
    if (words.sentence == nullptr)
        return {};
    std::string text = words.sentence;
    if (const std::size_t at = text.find("%1"); words.piece != nullptr && at != std::string::npos)
        text.replace(at, 2, words.piece);
    return text;
}

Hint findHint(const Game& game)
{
    if (game.cellCount <= 0 || !game.taskFigure || game.taskFigure->frame()->visuals().empty())
        return {};
    std::vector<Vec3> cells;
    for (int k = 0; k < std::min(game.cellCount, kMaxCells); ++k)
        cells.push_back(game.taskFigure->position() + game.taskFigure->cells()[static_cast<std::size_t>(k)]);
    const Solver solver(cells, game.pieceCount);
    const std::vector<PiecePlace> placed = placedPieces(game, solver);
    // The first solution that keeps the placed pieces and has a piece that
    // can go to its place now.
    std::optional<Solution> first;
    std::optional<PiecePlace> step;
    solver.solve(placed, [&](const Solution& solution) {
        if (!first)
            first = solution;
        step = nextStep(game, solution, placed);
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
        if (const int blocking = pieceInTheWay(game, *first); blocking >= 0)
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

void OnHint(Game& game)
{
    hideHint(game);
    const Hint hint = findHint(game);
    if (hint.kind == Hint::Kind::Place) {
        Piece& ghost = *game.hintGhost;
        ghost.buildMesh(hint.place.offsets);
        ghost.setQuality(RenderQuality::Flat);
        ghost.setPosition(hint.place.position);
    } else if (hint.kind == Hint::Kind::TakeOut && hint.piece >= 0) {
        selectPiece(game, *game.pieces[static_cast<std::size_t>(hint.piece)]);
    }
    game.hint = hint;
    dressHintGhost(game);
    game.shell.showHint(hint);
}

void dressHintGhost(Game& game)
{
    if (!game.hint || game.hint->kind != Hint::Kind::Place || !game.hintGhost)
        return;
    const int piece = game.hint->piece;
    const Colour colour = game.palette->pieces[static_cast<std::size_t>(piece)].colour;
    game.hintGhost->setColour((colour & 0x00FFFFFF) | kGhostAlpha);
    game.hintGhost->showNumber(game.pieceNumbers ? digitKeyOf(piece) : 0, numberInk(colour));
}

void hideHint(Game& game)
{
    if (game.hint && game.hint->kind == Hint::Kind::Place && game.hintGhost)
        game.hintGhost->setPosition(kParkingPosition);
    game.hint.reset();
}

}  // namespace vokta
