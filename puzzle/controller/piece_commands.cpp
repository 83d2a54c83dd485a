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

// A quarter turn about the horizontal grid axis nearest to (p, q), a unit
// vector's x and y, with sense a; nothing when no axis is clearly nearest
// (the view is too steep, or diagonal across the grid).
std::optional<Rotation> turnAboutNearestAxis(float p, float q, int a)
{
    const int i = turnUnit(p);
    const int j = turnUnit(q);
    if ((i == 0) == (j == 0))
        return std::nullopt;
    return i != 0 ? quarterTurn(0, a * i) : quarterTurn(1, a * j);
}

// Clockwise (a = 1) or counterclockwise (a = -1) as the viewer sees it: about
// the horizontal axis nearest to the line of sight.
std::optional<Rotation> turnAboutLineOfSight(const Camera& camera, int a)
{
    const Vec3 d = camera.direction();
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return turnAboutNearestAxis(d.x / length, d.y / length, a);
}

// Forward (a = 1) or backward (a = -1): about the horizontal axis nearest to
// the viewer's sideways direction.
std::optional<Rotation> turnAboutSideways(const Camera& camera, int a)
{
    const Vec3 d = camera.direction();
    const Vec3 u = camera.up();
    const Vec3 w{d.y * u.z - d.z * u.y, d.z * u.x - d.x * u.z, d.x * u.y - d.y * u.x};
    const float length = std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z);
    return turnAboutNearestAxis(w.x / length, w.y / length, a);
}

std::optional<PieceAction> moveBy(Cell step)
{
    return PieceAction{.kind = PieceAction::Kind::Move, .step = step, .quarter = {}};
}

std::optional<PieceAction> turnBy(const std::optional<Rotation>& quarter)
{
    if (!quarter)
        return std::nullopt;
    return PieceAction{.kind = PieceAction::Kind::Turn, .step = {}, .quarter = *quarter};
}

}  // namespace

std::optional<PieceAction> pieceAction(const Camera& camera, Command command)
{
    switch (command) {
    case Command::MoveLeft: return moveBy(leftStep(camera));
    case Command::MoveRight: return moveBy(-leftStep(camera));
    case Command::MoveUp: return moveBy({0, 0, 10});
    case Command::MoveDown: return moveBy({0, 0, -10});
    case Command::MoveForward: return moveBy(forwardStep(camera));
    case Command::MoveBackward: return moveBy(-forwardStep(camera));
    case Command::TurnLeft: return turnBy(quarterTurn(2, 1));
    case Command::TurnRight: return turnBy(quarterTurn(2, -1));
    case Command::TurnCounterclockwise: return turnBy(turnAboutLineOfSight(camera, -1));
    case Command::TurnClockwise: return turnBy(turnAboutLineOfSight(camera, 1));
    case Command::TurnForward: return turnBy(turnAboutSideways(camera, 1));
    case Command::TurnBackward: return turnBy(turnAboutSideways(camera, -1));
    default: return std::nullopt;
    }
}

std::optional<Command> pieceCommandOfKey(Key key, bool shift)
{
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
        if (entry.key == key)
            return shift ? entry.turn : entry.move;
    }
    return std::nullopt;
}

void executePieceCommand(GameData& game, Command command)
{
    const int selected = game.state.selected;
    const std::optional<PieceAction> action = pieceAction(game.view.camera, command);
    if (selected >= 0 && action) {
        if (action->kind == PieceAction::Kind::Move)
            tryMoveTo(game.state, selected, game.state.piece(selected).position + action->step, game.sound);
        else
            turnPiece(game.state, selected, action->quarter, game.sound);
    }
    game.present();
    placeRollers(game.view, game.state);
}

void onPieceKey(GameData& game, Key key, bool shift)
{
    if (const std::optional<Command> command = pieceCommandOfKey(key, shift))
        executePieceCommand(game, *command);
}

}  // namespace vokta
