#include <gtest/gtest.h>

#include <cmath>

#include "puzzle/controller/routing.h"
#include "puzzle/controller/selection.h"
#include "test_game.h"

namespace vokta {
namespace {

class Input : public testing::GameFixture {
protected:
    Input() { parkPieces(); }
    float cameraAngle() const { return std::atan2(game.view.camera.position().y, game.view.camera.position().x); }
};

TEST_F(Input, CameraKeysSetTheirSpeedWhileHeld)
{
    const struct {
        Key key;
        float yaw, move, pitch;
    } table[] = {
        {Key::Left, 0.1f, 0, 0}, {Key::Right, -0.1f, 0, 0},  {Key::Up, 0, 10, 0},
        {Key::Down, 0, -10, 0},  {Key::PageUp, 0, 0, -0.1f}, {Key::PageDown, 0, 0, 0.1f},
    };
    for (const auto& row : table) {
        OnKeyDown(game, row.key, false);
        EXPECT_EQ(game.view.camera.yawSpeed, row.yaw);
        EXPECT_EQ(game.view.camera.moveSpeed, row.move);
        EXPECT_EQ(game.view.camera.pitchSpeed, row.pitch);
        OnKeyUp(game, row.key);
        EXPECT_EQ(game.view.camera.yawSpeed, 0.0f);
        EXPECT_EQ(game.view.camera.moveSpeed, 0.0f);
        EXPECT_EQ(game.view.camera.pitchSpeed, 0.0f);
    }
    OnKeyDown(game, Key::Left, false);
    OnKeyUp(game, Key::Right);
    EXPECT_EQ(game.view.camera.yawSpeed, 0.0f) << "either arrow releases the yaw";
}

TEST_F(Input, ACameraKeyReleasedDuringASelectionStillStopsTheCamera)
{
    OnKeyDown(game, Key::Left, false);
    selectPiece(game, 0);
    OnKeyUp(game, Key::Left);
    EXPECT_EQ(game.view.camera.yawSpeed, 0.0f);
    EXPECT_EQ(game.state.selected, 0) << "only Enter and Escape release";
}

TEST_F(Input, KeysReachTheCameraOnlyWhileNothingIsSelected)
{
    selectPiece(game, 1);
    OnKeyDown(game, Key::Up, false);
    EXPECT_EQ(game.view.camera.moveSpeed, 0.0f);
    OnKeyUp(game, Key::Escape);
    EXPECT_EQ(game.state.selected, -1);
    OnKeyUp(game, Key::Enter);
    EXPECT_EQ(game.state.selected, -1);
    OnKeyDown(game, Key::Up, false);
    EXPECT_EQ(game.view.camera.moveSpeed, 10.0f);
}

TEST_F(Input, DigitKeysSelectThroughTheirTable)
{
    const std::pair<char, int> table[] = {{'1', 0}, {'2', 2}, {'3', 3}, {'4', 6}, {'5', 4}, {'6', 5}, {'7', 1}};
    for (const auto& [digit, index] : table) {
        OnChar(game, digit);
        EXPECT_EQ(game.state.selected, index) << digit;
        EXPECT_EQ(game.state.selectionMode, SelectionMode::Move);
        EXPECT_EQ(game.view.pieces[static_cast<std::size_t>(index)]->colour(), kOriginalPalette.selection);
    }
    for (const char other : {'0', '8', 'a'}) {
        OnChar(game, other);
        EXPECT_EQ(game.state.selected, 1);
    }
    EXPECT_EQ(game.view.pieces[static_cast<std::size_t>(0)]->colour(), kOriginalPalette.pieces[0].colour)
        << "the released piece gets its colour back";
    EXPECT_TRUE(piece(0).falling);
}

TEST_F(Input, ALeftDragOrbitsOneRadianPerHundredPixels)
{
    const float before = cameraAngle();
    OnButtonDown(game, 300, 200, kMouseLeft);
    OnMouseMove(game, 350, 200, kMouseLeft);
    OnMouseMove(game, 400, 200, kMouseLeft);
    EXPECT_NEAR(cameraAngle() - before, 1.0f, 1e-4f);
    EXPECT_EQ(game.pointer.pressX, 400);
}

TEST_F(Input, ARightDragMovesAlongTheLineOfSight)
{
    const float before = modulus(game.view.camera.position());
    OnButtonDown(game, 300, 200, kMouseRight);
    OnMouseMove(game, 300, 240, kMouseRight);
    EXPECT_NEAR(modulus(game.view.camera.position()), before - 40.0f, 1e-3f) << "dragging down comes closer";
}

TEST_F(Input, ADragWithModifiersOnlyMovesTheAnchor)
{
    const Vec3 before = game.view.camera.position();
    OnButtonDown(game, 100, 100, kMouseLeft);
    OnMouseMove(game, 180, 130, kMouseLeft | kMouseShift);
    EXPECT_EQ(game.view.camera.position(), before);
    EXPECT_EQ(game.pointer.pressX, 180);
    EXPECT_EQ(game.pointer.pressY, 130);
    OnMouseMove(game, 180, 130, kMouseLeft);
    EXPECT_EQ(game.view.camera.position(), before) << "releasing Shift does not jump";
}

TEST_F(Input, TheMouseStateFollowsEveryButtonAndMove)
{
    OnButtonDown(game, 10, 20, kMouseLeft);
    EXPECT_EQ(game.pointer.mouseKeys, kMouseLeft);
    OnButtonUp(game, 11, 21, 0);
    EXPECT_EQ(game.pointer.mouseX, 11);
    EXPECT_EQ(game.pointer.mouseKeys, 0);
    EXPECT_EQ(game.pointer.pressX, 10);
}

}  // namespace
}  // namespace vokta
