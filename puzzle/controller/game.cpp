#include "puzzle/controller/game.h"

#include "puzzle/controller/game_data.h"
#include "puzzle/controller/game_tick.h"
#include "puzzle/controller/routing.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/scene/markers.h"

namespace vokta {

Game::Game(std::string modelDirectory, SoundOutput& sound, GameShell& shell)
    : data_(std::make_unique<GameData>(std::move(modelDirectory), sound, shell))
{
}

Game::~Game() = default;

void Game::setUp(unsigned seed)
{
    setUpScene(*data_, seed);
}

void Game::handle(const WindowMessage& message)
{
    MainWndProc(*data_, message);
}

void Game::tick()
{
    OnTimerTick(*data_);
}

bool Game::renderWhenIdle(const std::function<void(float elapsedTicks)>& drawFrame)
{
    return RenderWhenIdle(*data_, drawFrame);
}

const GameState& Game::state() const
{
    return data_->state;
}

Scene& Game::scene()
{
    return data_->view.scene;
}

const GameScene& Game::view() const
{
    return data_->view;
}

void Game::setViewOptions(ViewOptions options)
{
    data_->view.setViewOptions(options);
}

const std::optional<Hint>& Game::hint() const
{
    return data_->hint;
}

bool Game::canUndo() const
{
    return data_->history.canUndo();
}

bool Game::canRedo() const
{
    return data_->history.canRedo();
}

std::size_t Game::stepsToUndo() const
{
    return data_->history.undoable();
}

bool Game::figureSolid() const
{
    return data_->view.taskFigure && data_->view.taskFigure->solid();
}

const TaskRun& Game::run() const
{
    return data_->run;
}

std::int64_t Game::runMs() const
{
    return (data_->tickCount - data_->run.startTick) * kTickMs;
}

std::int64_t Game::tickCount() const
{
    return data_->tickCount;
}

void Game::zoom(float units)
{
    data_->view.camera.moveForward(units);
}

KeptGame Game::kept() const
{
    const GameData& game = *data_;
    KeptGame kept{.now = {game.state, game.run},
                  .steps = game.history.steps(),
                  .undoable = game.history.undoable(),
                  .tickCount = game.tickCount,
                  .cameraPosition = game.view.camera.position(),
                  .cameraDirection = game.view.camera.direction(),
                  .cameraUp = game.view.camera.up()};
    // The generator is no part of a step: undo leaves it running on.
    for (auto& [before, after] : kept.steps) {
        before.state.random = game.state.random;
        after.state.random = game.state.random;
    }
    return kept;
}

void Game::resume(const KeptGame& kept)
{
    GameData& game = *data_;
    game.hint.reset();
    game.gesture.reset();
    game.pointer.dragDirection = 0;
    game.state = kept.now.state;
    game.run = kept.now.run;
    game.tickCount = kept.tickCount;
    game.history.resume(kept.steps, kept.undoable);
    game.view.camera.setPose(kept.cameraPosition, kept.cameraDirection, kept.cameraUp);
    game.present();
    placeRollers(game.view, game.state);
    game.shell.refreshMenuState();
}

void Game::place(int piece, Cell position, const std::optional<CubeOffsets>& offsets, bool falling)
{
    PieceState& placed = data_->state.piece(piece);
    if (offsets) {
        // Any four cubes, unturned: the scene shows them as they are.
        placed.offsets = *offsets;
        placed.turn = {};
    }
    placed.position = position;
    placed.falling = falling;
    data_->present();
    placeRollers(data_->view, data_->state);
}

void Game::poseCamera(Vec3 position, Vec3 direction, Vec3 up)
{
    Camera& camera = data_->view.camera;
    camera.setPosition(position.x, position.y, position.z);
    camera.setDirection(direction.x, direction.y, direction.z);
    camera.setUp(up.x, up.y, up.z);
}

void Game::setPieceCount(int count)
{
    data_->state.pieceCount = count;
    data_->present();
}

void Game::setBuiltInTask(bool builtin)
{
    GameState& state = data_->state;
    if (builtin) {
        buildDefault(state);
        state.taskCompleted = false;
    } else {
        // No figure at all: a free build, tested by nothing.
        state.figure.shown = false;
        state.cellCount = 0;
        state.taskCompleted = true;
    }
    data_->present();
}

void Game::reseed(unsigned seed)
{
    data_->state.random.reseed(seed);
}

}  // namespace vokta
