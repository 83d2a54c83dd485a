#include "puzzle/controller/piece_commands.h"

#include <cmath>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/game_data.h"
#include "puzzle/rules/turns.h"
#include "puzzle/scene/markers.h"

namespace vokta {

namespace {

// One cell along an axis where the view's component c clearly points that way.
int moveStep(float c)
{
    if (c > kMoveThreshold)
        return 10;
    if (c < -kMoveThreshold)
        return -10;
    return 0;
}

// The sense of a grid axis that the view's component c clearly points along, or 0.
int turnUnit(float c)
{
    if (c > kTurnThreshold)
        return 1;
    if (c < -kTurnThreshold)
        return -1;
    return 0;
}

// Left on the screen: the view direction crossed with the up vector, as a
// step across the floor.
Cell leftStep(const Camera& camera)
{
    const Vec3 d = camera.direction();
    const Vec3 u = camera.up();
    return {moveStep(d.y * u.z - d.z * u.y), moveStep(d.z * u.x - d.x * u.z), 0};
}

// Away from the viewer: the view direction's part across the floor.
Cell forwardStep(const Camera& camera)
{
    const Vec3 d = camera.direction();
    const float h = std::sqrt(d.x * d.x + d.y * d.y);
    return {moveStep(d.x / h), moveStep(d.y / h), 0};
}

void move(GameData& game, Cell step)
{
    const int selected = game.state.selected;
    tryMoveTo(game.state, selected, game.state.piece(selected).position + step, game.sound);
}

void turn(GameData& game, const Rotation& quarter)
{
    turnPiece(game.state, game.state.selected, quarter, game.sound);
}

// A quarter turn about the horizontal grid axis nearest to (p, q), a unit
// vector's x and y, with sense a; nothing when no axis is clearly nearest
// (the view is too steep, or diagonal across the grid).
void turnAboutNearestAxis(GameData& game, float p, float q, int a)
{
    const int i = turnUnit(p);
    const int j = turnUnit(q);
    if ((i == 0) == (j == 0))
        return;
    turn(game, i != 0 ? quarterTurn(0, a * i) : quarterTurn(1, a * j));
}

// Clockwise (a = 1) or counterclockwise (a = -1) as the viewer sees it: about
// the horizontal axis nearest to the line of sight.
void turnAboutLineOfSight(GameData& game, int a)
{
    const Vec3 d = game.view.camera.direction();
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    turnAboutNearestAxis(game, d.x / length, d.y / length, a);
}

// Forward (a = 1) or backward (a = -1): about the horizontal axis nearest to
// the viewer's sideways direction.
void turnAboutSideways(GameData& game, int a)
{
    const Vec3 d = game.view.camera.direction();
    const Vec3 u = game.view.camera.up();
    const Vec3 w{d.y * u.z - d.z * u.y, d.z * u.x - d.x * u.z, d.x * u.y - d.y * u.x};
    const float length = std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z);
    turnAboutNearestAxis(game, w.x / length, w.y / length, a);
}

void turnAboutVertical(GameData& game, int sense)
{
    turn(game, quarterTurn(2, sense));
}

void runPieceCommand(GameData& game, Command command)
{
    const Camera& camera = game.view.camera;
    switch (command) {
    case Command::MoveLeft: move(game, leftStep(camera)); break;
    case Command::MoveRight: move(game, -leftStep(camera)); break;
    case Command::MoveUp: move(game, {0, 0, 10}); break;
    case Command::MoveDown: move(game, {0, 0, -10}); break;
    case Command::MoveForward: move(game, forwardStep(camera)); break;
    case Command::MoveBackward: move(game, -forwardStep(camera)); break;
    case Command::TurnLeft: turnAboutVertical(game, 1); break;
    case Command::TurnRight: turnAboutVertical(game, -1); break;
    case Command::TurnCounterclockwise: turnAboutLineOfSight(game, -1); break;
    case Command::TurnClockwise: turnAboutLineOfSight(game, 1); break;
    case Command::TurnForward: turnAboutSideways(game, 1); break;
    case Command::TurnBackward: turnAboutSideways(game, -1); break;
    default: break;
    }
}

}  // namespace

void executePieceCommand(GameData& game, Command command)
{
    if (game.state.selected >= 0 && isPieceCommand(command))
        runPieceCommand(game, command);
    game.present();
    placeRollers(game.view, game.state);
}

void onPieceKey(GameData& game, Key key, bool shift)
{
    // Each key: its move without Shift, its turn with Shift.
    struct KeyCommands {
        Key key;
        Command move;
        Command turn;
    };
    static constexpr KeyCommands kKeyCommands[] = {
        {Key::Left, Command::MoveLeft, Command::TurnLeft},
        {Key::Right, Command::MoveRight, Command::TurnRight},
        {Key::PageUp, Command::MoveUp, Command::TurnCounterclockwise},
        {Key::PageDown, Command::MoveDown, Command::TurnClockwise},
        {Key::Up, Command::MoveForward, Command::TurnForward},
        {Key::Down, Command::MoveBackward, Command::TurnBackward},
    };
    for (const KeyCommands& entry : kKeyCommands) {
        if (entry.key == key) {
            executePieceCommand(game, shift ? entry.turn : entry.move);
            return;
        }
    }
}

}  // namespace vokta
