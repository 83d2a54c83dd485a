#include "puzzle/controller/input.h"

#include <cmath>

#include "puzzle/controller/game_data.h"
#include "puzzle/controller/selection.h"
#include "puzzle/rules/turns.h"
#include "puzzle/scene/markers.h"

namespace vokta {

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
// Up vector of the direction marker while it points along a drag direction.
constexpr Vec3 kMarkerUp{1.0f, 1.0f, 1.0f};
// A drag follows the pointer at most this many cells in one call: a pointer
// beyond the horizon, where the projected steps only shrink, would otherwise
// pull the piece away for ever.
constexpr int kMostDragStepsPerUpdate = 16;
// A step that moves the piece's picture less than this (in pixels, on both
// axes) cannot follow the pointer.
constexpr float kShortestVisibleStep = 1.0f;

SceneObject* pick(const GameData& game, int x, int y, std::string_view prefix)
{
    const Scene& scene = game.view.scene;
    return pickObject(scene.viewport(), *scene.sceneFrame(), static_cast<float>(x), static_cast<float>(y), prefix);
}

Roller* pickRoller(GameData& game, int x, int y)
{
    const SceneObject* picked = pick(game, x, y, "roller");
    for (const auto& roller : game.view.rollers) {
        if (roller.get() == picked)
            return roller.get();
    }
    return nullptr;
}

// The index of the piece under the pointer, or -1.
int pickPiece(GameData& game, int x, int y)
{
    return game.view.pieceIndex(pick(game, x, y, kPieceNamePrefix));
}

// Rollers come first: one anywhere under the pointer wins over a piece in
// front of it. Returns whether a roller was there.
bool turnRollerAt(GameData& game, int x, int y)
{
    const Roller* roller = pickRoller(game, x, y);
    // A roller shows only around the selected piece; it turns that piece a
    // quarter turn about its own axis, in its own sense.
    if (roller && game.state.selected >= 0)
        turnPiece(game.state, game.state.selected, quarterTurn(roller->axis, roller->positive ? 1 : -1), game.sound);
    return roller != nullptr;
}

// A right press alone turns the piece about the vertical axis, as Turn Left
// does; any other press makes it ready to follow a left drag.
void beginPieceDrag(GameData& game, int keys)
{
    if (keys == kMouseRight) {
        turnPiece(game.state, game.state.selected, quarterTurn(2, 1), game.sound);
        return;
    }
    projectDragPoints(game);
}

// Does the drag step k lead towards pointer (x, y) on the screen, far enough
// for the eye to follow?
bool stepFollowsPointer(const GameData& game, int k, float x, float y)
{
    const DragPoint& centre = game.pointer.dragPoints[0];
    const DragPoint& step = game.pointer.dragPoints[static_cast<std::size_t>(k)];
    const float towardsX = x - centre.x;
    const float towardsY = y - centre.y;
    if (std::abs(step.x) > std::abs(towardsX) || std::abs(step.y) > std::abs(towardsY))
        return false;
    // Beyond what the pointer asks: a step that does not bring the piece's
    // picture nearer to the pointer, or hardly moves it, would never end.
    const bool visible = std::abs(step.x) >= kShortestVisibleStep || std::abs(step.y) >= kShortestVisibleStep;
    return visible && step.x * towardsX + step.y * towardsY > 0.0f;
}

}  // namespace

void cameraKeyDown(GameData& game, Key key)
{
    Camera& camera = game.view.camera;
    switch (key) {
    case Key::Left: camera.yawSpeed = kCameraTurnSpeed; break;
    case Key::Right: camera.yawSpeed = -kCameraTurnSpeed; break;
    case Key::Up: camera.moveSpeed = kCameraMoveSpeed; break;
    case Key::Down: camera.moveSpeed = -kCameraMoveSpeed; break;
    case Key::PageUp: camera.pitchSpeed = -kCameraTurnSpeed; break;
    case Key::PageDown: camera.pitchSpeed = kCameraTurnSpeed; break;
    default: break;
    }
}

void cameraKeyUp(GameData& game, Key key)
{
    Camera& camera = game.view.camera;
    switch (key) {
    case Key::Left:
    case Key::Right: camera.yawSpeed = 0.0f; break;
    case Key::Up:
    case Key::Down: camera.moveSpeed = 0.0f; break;
    case Key::PageUp:
    case Key::PageDown: camera.pitchSpeed = 0.0f; break;
    default: break;
    }
}

void cameraDrag(GameData& game, int x, int y, int keys)
{
    PointerState& pointer = game.pointer;
    if (keys == kMouseLeft) {
        game.view.camera.yaw(static_cast<float>(x - pointer.pressX) * kCameraDragTurn);
        game.view.camera.pitch(static_cast<float>(pointer.pressY - y) * kCameraDragTurn);
    } else if (keys == kMouseRight) {
        game.view.camera.moveForward(static_cast<float>(y - pointer.pressY));
    }
    pointer.pressX = x;
    pointer.pressY = y;
}

void pressOnScene(GameData& game, int x, int y, int keys)
{
    if (turnRollerAt(game, x, y))
        return;
    if (const int piece = pickPiece(game, x, y); piece >= 0) {
        selectPiece(game, piece);
        beginPieceDrag(game, keys);
        return;
    }
    releaseSelection(game);
    game.pointer.pressX = x;
    game.pointer.pressY = y;
}

void doubleClickOnScene(GameData& game, int x, int y, int keys)
{
    if (turnRollerAt(game, x, y))
        return;
    if (const int piece = pickPiece(game, x, y); piece >= 0) {
        if (piece == game.state.selected) {
            SelectionMode& mode = game.state.selectionMode;
            mode = mode == SelectionMode::Move ? SelectionMode::Turn : SelectionMode::Move;
            game.present();
            placeRollers(game.view, game.state);
        } else {
            selectPiece(game, piece);
            beginPieceDrag(game, keys);
        }
        return;
    }
    releaseSelection(game);
}

void projectDragPoints(GameData& game)
{
    const Viewport viewport = game.view.scene.viewport();
    const Cell centre = game.state.piece(game.state.selected).position;
    std::array<DragPoint, kDragDirectionCount>& points = game.pointer.dragPoints;
    for (std::size_t k = 0; k < kDragDirections.size(); ++k) {
        const Viewport::ScreenPoint s = viewport.transform(toVec3(centre + kDragDirections[k]));
        DragPoint& point = points[k];
        point.x = s.x / s.w;
        point.y = s.y / s.w;
        if (k > 0) {
            point.x -= points[0].x;
            point.y -= points[0].y;
            point.angle = std::atan2(point.x, point.y);
        }
    }
}

void chooseDragDirection(GameData& game, int x, int y)
{
    if (game.state.selectionMode != SelectionMode::Move)
        return;
    PointerState& pointer = game.pointer;
    pointer.dragDirection = 0;
    const float a =
        std::atan2(static_cast<float>(x) - pointer.dragPoints[0].x, static_cast<float>(y) - pointer.dragPoints[0].y);
    float bestDifference = 10.0f;
    int best = 0;
    for (int k = 1; k < kDragDirectionCount; ++k) {
        float difference = std::abs(a - pointer.dragPoints[static_cast<std::size_t>(k)].angle);
        if (difference > kPi)
            difference = std::abs(difference - kTwoPi);
        if (difference < bestDifference) {
            best = k;
            bestDifference = difference;
        }
    }
    pointer.dragDirection = best;
    game.view.directionMarker->setOrientation(toVec3(kDragDirections[static_cast<std::size_t>(best)]), kMarkerUp);
    dragUpdate(game, x, y);
    game.view.scene.sceneDirty = true;
}

void dragUpdate(GameData& game, int x, int y)
{
    const int k = game.pointer.dragDirection;
    const int selected = game.state.selected;
    if (k == 0 || selected < 0)
        return;
    const float pointerX = static_cast<float>(x);
    const float pointerY = static_cast<float>(y);
    for (int steps = 0; steps < kMostDragStepsPerUpdate && stepFollowsPointer(game, k, pointerX, pointerY); ++steps) {
        const Cell target = game.state.piece(selected).position + kDragDirections[static_cast<std::size_t>(k)];
        if (!tryMoveTo(game.state, selected, target, game.sound))
            return;
        projectDragPoints(game);
        game.stepTunePending = true;
        game.view.scene.sceneDirty = true;
    }
}

}  // namespace vokta
