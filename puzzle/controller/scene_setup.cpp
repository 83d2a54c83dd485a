#include "puzzle/controller/scene_setup.h"

#include "puzzle/controller/game_data.h"
#include "puzzle/controller/selection.h"
#include "puzzle/controller/undo.h"
#include "puzzle/scene/markers.h"

namespace vokta {

void setUpScene(GameData& game, unsigned seed)
{
    GameState& state = game.state;
    state.random.reseed(seed);
    game.view.build();
    resetView(game);
    state.pieceCount = kPieceTotal;
    for (int i = 0; i < kPieceTotal; ++i)
        build(state.piece(i), i);
    newTask(game);
    buildDefault(state);
    startTaskRun(game, taskKey(builtInTask()));
    game.view.setViewOptions(game.view.viewOptions());
    game.present();
    placeRollers(game.view, game.state);
}

void resetView(GameData& game)
{
    Camera& camera = game.view.camera;
    camera.setPosition(100, 100, 100);
    camera.setDirection(-1, -1, -1);
    camera.setUp(0, 0, 1);
    camera.yawSpeed = 0.0f;
    camera.moveSpeed = 0.0f;
    camera.pitchSpeed = 0.0f;
    game.view.scene.sceneDirty = true;
}

void newTask(GameData& game)
{
    game.state.figure.shown = false;
    scatterPieces(game);
}

void scatterPieces(GameData& game)
{
    releaseSelection(game);
    scatterPieces(game.state);
    game.present();
}

}  // namespace vokta
