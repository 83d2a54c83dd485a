#include "puzzle/input.h"

#include <cmath>

#include "puzzle/game.h"
#include "puzzle/markers.h"
#include "puzzle/piece_commands.h"
#include "puzzle/scene_setup.h"
#include "puzzle/selection.h"
#include "puzzle/turns.h"

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

SceneObject* pick(const Game& game, int x, int y, std::string_view prefix)
{
    return pickObject(game.scene.viewport(), *game.scene.sceneFrame(), static_cast<float>(x), static_cast<float>(y),
                      prefix);
}

Roller* pickRoller(Game& game, int x, int y)
{
    const SceneObject* picked = pick(game, x, y, "roller");
    for (const auto& roller : game.rollers) {
        if (roller.get() == picked)
            return roller.get();
    }
    return nullptr;
}

Piece* pickPiece(Game& game, int x, int y)
{
    const SceneObject* picked = pick(game, x, y, kPieceNamePrefix);
    for (const auto& piece : game.pieces) {
        if (piece.get() == picked)
            return piece.get();
    }
    return nullptr;
}

// Rollers come first: one anywhere under the pointer wins over a piece in
// front of it. Returns whether a roller was there.
bool turnRollerAt(Game& game, int x, int y)
{
    const Roller* roller = pickRoller(game, x, y);
    if (roller)
        turnByRoller(game, *roller);
    return roller != nullptr;
}

// A right press alone turns the piece about the vertical axis, as Turn Left
// does; any other press makes it ready to follow a left drag.
void beginPieceDrag(Game& game, int keys)
{
    if (keys == kMouseRight) {
        const QuarterTurn turn = quarterTurn(2, 1);
        turnQuarter(game, *game.selectedPiece, turn.matrix, turn.axis, turn.angle);
        updateShadows(game);
        return;
    }
    projectDragPoints(game);
}

// Does the drag step k lead towards pointer (x, y) on the screen, far enough
// for the eye to follow?
bool stepFollowsPointer(const Game& game, int k, float x, float y)
{
    const DragPoint& centre = game.dragPoints[0];
    const DragPoint& step = game.dragPoints[static_cast<std::size_t>(k)];
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

void cameraKeyDown(Game& game, Key key)
{
    Camera& camera = game.camera;
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

void cameraKeyUp(Game& game, Key key)
{
    Camera& camera = game.camera;
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

void cameraDrag(Game& game, int x, int y, int keys)
{
    if (keys == kMouseLeft) {
        game.camera.yaw(static_cast<float>(x - game.pressX) * kCameraDragTurn);
        game.camera.pitch(static_cast<float>(game.pressY - y) * kCameraDragTurn);
    } else if (keys == kMouseRight) {
        game.camera.moveForward(static_cast<float>(y - game.pressY));
    }
    game.pressX = x;
    game.pressY = y;
}

void pressOnScene(Game& game, int x, int y, int keys)
{
    if (turnRollerAt(game, x, y))
        return;
    if (Piece* piece = pickPiece(game, x, y)) {
        selectPiece(game, *piece);
        beginPieceDrag(game, keys);
        return;
    }
    releaseSelection(game);
    game.pressX = x;
    game.pressY = y;
}

void doubleClickOnScene(Game& game, int x, int y, int keys)
{
    if (turnRollerAt(game, x, y))
        return;
    if (Piece* piece = pickPiece(game, x, y)) {
        if (piece == game.selectedPiece) {
            game.selectionMode = game.selectionMode == SelectionMode::Move ? SelectionMode::Turn : SelectionMode::Move;
            updateMarkers(game);
        } else {
            selectPiece(game, *piece);
            beginPieceDrag(game, keys);
        }
        return;
    }
    releaseSelection(game);
}

void projectDragPoints(Game& game)
{
    const Viewport viewport = game.scene.viewport();
    const Vec3 centre = game.selectedPiece->position();
    for (std::size_t k = 0; k < kDragDirections.size(); ++k) {
        const Viewport::ScreenPoint s = viewport.transform(centre + kDragDirections[k]);
        DragPoint& point = game.dragPoints[k];
        point.x = s.x / s.w;
        point.y = s.y / s.w;
        if (k > 0) {
            point.x -= game.dragPoints[0].x;
            point.y -= game.dragPoints[0].y;
            point.angle = std::atan2(point.x, point.y);
        }
    }
}

void chooseDragDirection(Game& game, int x, int y)
{
    if (game.selectionMode != SelectionMode::Move)
        return;
    game.dragDirection = 0;
    const float a =
        std::atan2(static_cast<float>(x) - game.dragPoints[0].x, static_cast<float>(y) - game.dragPoints[0].y);
    float bestDifference = 10.0f;
    int best = 0;
    for (int k = 1; k < kDragDirectionCount; ++k) {
        float difference = std::abs(a - game.dragPoints[static_cast<std::size_t>(k)].angle);
        if (difference > kPi)
            difference = std::abs(difference - kTwoPi);
        if (difference < bestDifference) {
            best = k;
            bestDifference = difference;
        }
    }
    game.dragDirection = best;
    game.directionMarker->setOrientation(kDragDirections[static_cast<std::size_t>(best)], kMarkerUp);
    dragUpdate(game, x, y);
    game.scene.sceneDirty = true;
}

void dragUpdate(Game& game, int x, int y)
{
    const int k = game.dragDirection;
    if (k == 0 || !game.selectedPiece)
        return;
    const float pointerX = static_cast<float>(x);
    const float pointerY = static_cast<float>(y);
    for (int steps = 0; steps < kMostDragStepsPerUpdate && stepFollowsPointer(game, k, pointerX, pointerY); ++steps) {
        if (!tryMoveTo(game, game.selectedPiece->position() + kDragDirections[static_cast<std::size_t>(k)]))
            return;
        game.directionMarker->setPosition(game.selectedPiece->position());
        projectDragPoints(game);
        game.stepTunePending = true;
        game.scene.sceneDirty = true;
    }
}

}  // namespace vokta
