#include "puzzle/selection.h"

#include "puzzle/game.h"

namespace vokta {

void selectPiece(Game& game, Piece& piece)
{
    if (game.selectedPiece == &piece)
        return;
    releaseSelection(game);
    game.selectedPiece = &piece;
    game.savedColour = piece.colour();
    piece.setColour(game.palette->selection);
    piece.falling = false;
    game.selectionMode = SelectionMode::Move;
    updateMarkers(game);
    game.shell.refreshMenuState();
}

void selectPieceByIndex(Game& game, int index)
{
    if (index < 0 || index >= kPieceTotal || !game.pieces[static_cast<std::size_t>(index)])
        return;
    selectPiece(game, *game.pieces[static_cast<std::size_t>(index)]);
}

void releaseSelection(Game& game)
{
    Piece* piece = game.selectedPiece;
    if (!piece)
        return;
    piece->falling = true;
    piece->setColour(game.savedColour);
    game.selectedPiece = nullptr;
    game.selectionMode = SelectionMode::None;
    updateMarkers(game);
    game.shell.refreshMenuState();
}

}  // namespace vokta
