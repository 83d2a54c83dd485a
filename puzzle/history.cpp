#include "puzzle/history.h"

#include <algorithm>

#include "puzzle/game.h"
#include "puzzle/markers.h"
#include "puzzle/scene_setup.h"
#include "puzzle/selection.h"

namespace vokta {

namespace {

int indexOf(const Game& game, const Piece* piece)
{
    for (std::size_t i = 0; i < game.pieces.size(); ++i) {
        if (game.pieces[i].get() == piece)
            return static_cast<int>(i);
    }
    return -1;
}

bool sameFigure(const GameSnapshot& a, const GameSnapshot& b)
{
    return a.figureMesh == b.figureMesh && a.cells == b.cells && a.figurePosition == b.figurePosition &&
        a.pieceCount == b.pieceCount && a.cellCount == b.cellCount;
}

// Whether one input changed the pieces: moved or turned one, let one go
// (a piece that starts to fall), or set up the task afresh. Selecting a piece
// stops its fall, which is no step.
bool changedPieces(const GameSnapshot& before, const GameSnapshot& after)
{
    if (before.run.number != after.run.number || !sameFigure(before, after))
        return true;
    for (std::size_t i = 0; i < before.pieces.size(); ++i) {
        const GameSnapshot::PieceState& a = before.pieces[i];
        const GameSnapshot::PieceState& b = after.pieces[i];
        if (a.position != b.position || a.offsets != b.offsets || (!a.falling && b.falling))
            return true;
    }
    return false;
}

bool leftButtonHeld(const Game& game)
{
    return (game.mouseKeys & kMouseLeft) != 0;
}

void recordStep(Game& game, GameSnapshot before)
{
    GameSnapshot after = takeSnapshot(game);
    // Setting the task up afresh starts its count; any other step is a move.
    if (after.run.number == before.run.number)
        after.run.moves = ++game.run.moves;
    game.history.record(std::move(before), std::move(after));
    // Undo is no longer grey, and Redo is.
    game.shell.refreshMenuState();
}

// Ends an open drag, recording it as one step when it changed the pieces:
// the drag moved the dragged piece, or an input during it was a step itself.
void closeGesture(Game& game)
{
    if (!game.gesture)
        return;
    Gesture gesture = std::move(*game.gesture);
    game.gesture.reset();
    bool stepped = gesture.stepped;
    if (gesture.piece >= 0) {
        const Piece& piece = *game.pieces[static_cast<std::size_t>(gesture.piece)];
        stepped = stepped || piece.position() != gesture.piecePosition || piece.offsets != gesture.pieceOffsets;
    }
    if (stepped)
        recordStep(game, std::move(gesture.before));
}

}  // namespace

GameSnapshot takeSnapshot(const Game& game)
{
    GameSnapshot snapshot;
    for (std::size_t i = 0; i < game.pieces.size(); ++i) {
        const Piece* piece = game.pieces[i].get();
        if (!piece)
            continue;
        GameSnapshot::PieceState& state = snapshot.pieces[i];
        state.position = piece->position();
        state.offsets = piece->offsets;
        state.transform = piece->frame() ? piece->frame()->transform() : Matrix4::identity();
        state.falling = piece->falling;
    }
    snapshot.selected = indexOf(game, game.selectedPiece);
    snapshot.selectionMode = game.selectionMode;
    if (const TaskFigure* figure = game.taskFigure.get()) {
        snapshot.cells = figure->cells();
        snapshot.figurePosition = figure->position();
        if (figure->frame() && !figure->frame()->visuals().empty())
            snapshot.figureMesh = figure->frame()->visuals().front();
    }
    snapshot.pieceCount = game.pieceCount;
    snapshot.cellCount = game.cellCount;
    snapshot.taskCompleted = game.taskCompleted;
    snapshot.run = game.run;
    return snapshot;
}

void restoreSnapshot(Game& game, const GameSnapshot& snapshot)
{
    // The selected piece gets its own colour back before the pieces move.
    if (game.selectedPiece)
        game.selectedPiece->setColour(game.savedColour);
    game.selectedPiece = nullptr;
    for (std::size_t i = 0; i < game.pieces.size(); ++i) {
        Piece* piece = game.pieces[i].get();
        if (!piece)
            continue;
        const GameSnapshot::PieceState& state = snapshot.pieces[i];
        if (piece->frame())
            piece->frame()->setTransform(state.transform);
        piece->setPosition(state.position);
        piece->offsets = state.offsets;
        piece->falling = state.falling;
    }
    if (snapshot.selected >= 0) {
        Piece& piece = *game.pieces[static_cast<std::size_t>(snapshot.selected)];
        game.selectedPiece = &piece;
        game.savedColour = piece.colour();
        piece.setColour(game.palette->selection);
    }
    game.selectionMode = snapshot.selectionMode;
    game.dragDirection = 0;
    if (TaskFigure* figure = game.taskFigure.get())
        figure->restore(snapshot.cells, snapshot.figurePosition, snapshot.figureMesh);
    game.pieceCount = snapshot.pieceCount;
    game.cellCount = snapshot.cellCount;
    game.taskCompleted = snapshot.taskCompleted;
    game.run = snapshot.run;
    updateShadows(game);
    updateMarkers(game);
    game.scene.sceneDirty = true;
    game.shell.refreshMenuState();
}

void History::record(GameSnapshot before, GameSnapshot after)
{
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(next_), steps_.end());
    steps_.push_back({std::move(before), std::move(after)});
    if (steps_.size() > kLimit)
        steps_.pop_front();
    next_ = steps_.size();
}

const GameSnapshot* History::undo()
{
    if (!canUndo())
        return nullptr;
    return &steps_[--next_].before;
}

const GameSnapshot* History::redo()
{
    if (!canRedo())
        return nullptr;
    return &steps_[next_++].after;
}

void History::clear()
{
    steps_.clear();
    next_ = 0;
}

void noteInput(Game& game, const GameSnapshot& before)
{
    const bool stepped = changedPieces(before, takeSnapshot(game));
    if (game.gesture) {
        game.gesture->stepped = game.gesture->stepped || stepped;
        if (!leftButtonHeld(game))
            closeGesture(game);
        return;
    }
    // A press that leaves a piece ready to be dragged opens a drag: its steps
    // come with the ticks that follow, until the button goes up.
    if (leftButtonHeld(game) && game.selectedPiece && game.selectionMode == SelectionMode::Move) {
        const Piece& piece = *game.selectedPiece;
        game.gesture = Gesture{before, stepped, indexOf(game, &piece), piece.position(), piece.offsets};
        return;
    }
    if (stepped)
        recordStep(game, before);
}

bool undoStep(Game& game)
{
    closeGesture(game);
    const GameSnapshot* before = game.history.undo();
    if (!before)
        return false;
    restoreSnapshot(game, *before);
    return true;
}

bool redoStep(Game& game)
{
    closeGesture(game);
    const GameSnapshot* after = game.history.redo();
    if (!after)
        return false;
    restoreSnapshot(game, *after);
    return true;
}

void startTaskRun(Game& game, std::uint64_t key)
{
    game.run.key = key;
    ++game.run.number;
    game.run.startTick = game.tickCount;
    game.run.moves = 0;
}

}  // namespace vokta
