#include "puzzle/controller/undo.h"

#include "puzzle/controller/game_data.h"
#include "puzzle/scene/markers.h"

namespace vokta {

namespace {

bool leftButtonHeld(const GameData& game)
{
    return (game.pointer.mouseKeys & kMouseLeft) != 0;
}

void recordStep(GameData& game, GameSnapshot before)
{
    GameSnapshot after = takeSnapshot(game);
    // Setting the task up afresh starts its count; any other step is a move.
    if (after.run.number == before.run.number)
        after.run.moves = ++game.run.moves;
    game.history.record(std::move(before), std::move(after));
    // Undo is no longer grey, and Redo is.
    game.shell.refreshMenuState();
    game.shell.stepsChanged();
}

// Ends an open drag, recording it as one step when it changed the pieces:
// the drag moved the dragged piece, or an input during it was a step itself.
void closeGesture(GameData& game)
{
    if (!game.gesture)
        return;
    Gesture gesture = std::move(*game.gesture);
    game.gesture.reset();
    bool stepped = gesture.stepped;
    if (gesture.piece >= 0) {
        const PieceState& piece = game.state.piece(gesture.piece);
        stepped = stepped || piece.position != gesture.pieceAfterPress.position ||
            piece.offsets != gesture.pieceAfterPress.offsets;
    }
    if (stepped)
        recordStep(game, std::move(gesture.before));
}

}  // namespace

GameSnapshot takeSnapshot(const GameData& game)
{
    return {game.state, game.run};
}

void restoreSnapshot(GameData& game, const GameSnapshot& snapshot)
{
    const GameRandom random = game.state.random;
    game.state = snapshot.state;
    game.state.random = random;
    game.run = snapshot.run;
    game.pointer.dragDirection = 0;
    game.present();
    placeRollers(game.view, game.state);
    game.shell.refreshMenuState();
}

void noteInput(GameData& game, const GameSnapshot& before)
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
    if (leftButtonHeld(game) && game.state.selected >= 0 && game.state.selectionMode == SelectionMode::Move) {
        const int piece = game.state.selected;
        game.gesture = Gesture{before, stepped, piece, game.state.piece(piece)};
        return;
    }
    if (stepped)
        recordStep(game, before);
}

bool undoStep(GameData& game)
{
    closeGesture(game);
    const GameSnapshot* before = game.history.undo();
    if (!before)
        return false;
    restoreSnapshot(game, *before);
    game.shell.stepsChanged();
    return true;
}

bool redoStep(GameData& game)
{
    closeGesture(game);
    const GameSnapshot* after = game.history.redo();
    if (!after)
        return false;
    restoreSnapshot(game, *after);
    game.shell.stepsChanged();
    return true;
}

void startTaskRun(GameData& game, std::uint64_t key)
{
    game.run.key = key;
    ++game.run.number;
    game.run.startTick = game.tickCount;
    game.run.moves = 0;
}

}  // namespace vokta
