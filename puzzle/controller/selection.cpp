#include "puzzle/controller/selection.h"

#include "puzzle/controller/game_data.h"
#include "puzzle/scene/markers.h"

namespace vokta {

void selectPiece(GameData& game, int index)
{
    if (index < 0 || index >= kPieceTotal || game.state.selected == index)
        return;
    releaseSelection(game);
    vokta::selectPiece(game.state, index);
    game.present();
    placeRollers(game.view, game.state);
    game.shell.refreshMenuState();
}

void releaseSelection(GameData& game)
{
    if (game.state.selected < 0)
        return;
    vokta::releaseSelection(game.state);
    game.present();
    placeRollers(game.view, game.state);
    game.shell.refreshMenuState();
}

}  // namespace vokta
