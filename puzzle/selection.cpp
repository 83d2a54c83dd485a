#include "puzzle/selection.h"

#include "puzzle/game.h"
#include "puzzle/markers.h"

namespace vokta {

void selectPiece(Game& game, int index)
{
    if (index < 0 || index >= kPieceTotal || game.state.selected == index)
        return;
    releaseSelection(game);
    vokta::selectPiece(game.state, index);
    game.present();
    updateMarkers(game);
    game.shell.refreshMenuState();
}

void releaseSelection(Game& game)
{
    if (game.state.selected < 0)
        return;
    vokta::releaseSelection(game.state);
    game.present();
    updateMarkers(game);
    game.shell.refreshMenuState();
}

}  // namespace vokta
