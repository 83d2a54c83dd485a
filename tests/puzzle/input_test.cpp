#include <gtest/gtest.h>

#include <cmath>

#include "puzzle/routing.h"
#include "puzzle/selection.h"
#include "test_game.h"

namespace vokta {
namespace {

class Input : public testing::GameFixture {
protected:
    Input() { parkPieces(); }
    float cameraAngle() const { return std::atan2(game.camera.position().y, game.camera.position().x); }
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
        EXPECT_EQ(game.camera.yawSpeed, row.yaw);
        EXPECT_EQ(game.camera.moveSpeed, row.move);
        EXPECT_EQ(game.camera.pitchSpeed, row.pitch);
        OnKeyUp(game, row.key);
        EXPECT_EQ(game.camera.yawSpeed, 0.0f);
        EXPECT_EQ(game.camera.moveSpeed, 0.0f);
        EXPECT_EQ(game.camera.pitchSpeed, 0.0f);
    }
    OnKeyDown(game, Key::Left, false);
    OnKeyUp(game, Key::Right);
    EXPECT_EQ(game.camera.yawSpeed, 0.0f) << "either arrow releases the yaw";
}

TEST_F(Input, ACameraKeyReleasedDuringASelectionStillStopsTheCamera)
{
    OnKeyDown(game, Key::Left, false);
    selectPieceByIndex(game, 0);
    OnKeyUp(game, Key::Left);
    EXPECT_EQ(game.camera.yawSpeed, 0.0f);
    EXPECT_EQ(game.selectedPiece, &piece(0)) << "only Enter and Escape release";
}

TEST_F(Input, KeysReachTheCameraOnlyWhileNothingIsSelected)
{
    selectPieceByIndex(game, 1);
    OnKeyDown(game, Key::Up, false);
    EXPECT_EQ(game.camera.moveSpeed, 0.0f);
    OnKeyUp(game, Key::Escape);
    EXPECT_EQ(game.selectedPiece, nullptr);
    OnKeyUp(game, Key::Enter);
    EXPECT_EQ(game.selectedPiece, nullptr);
    OnKeyDown(game, Key::Up, false);
    EXPECT_EQ(game.camera.moveSpeed, 10.0f);
}

TEST_F(Input, DigitKeysSelectThroughTheirTable)
{
    const std::pair<char, int> table[] = {{'1', 0}, {'2', 2}, {'3', 3}, {'4', 6}, {'5', 4}, {'6', 5}, {'7', 1}};
    for (const auto& [digit, index] : table) {
        OnChar(game, digit);
        EXPECT_EQ(game.selectedPiece, &piece(index)) << digit;
        EXPECT_EQ(game.selectionMode, SelectionMode::Move);
        EXPECT_EQ(piece(index).colour(), kOriginalPalette.selection);
    }
    for (const char other : {'0', '8', 'a'}) {
        OnChar(game, other);
        EXPECT_EQ(game.selectedPiece, &piece(1));
    }
    EXPECT_EQ(piece(0).colour(), kOriginalPalette.pieces[0].colour) << "the released piece gets its colour back";
    EXPECT_TRUE(piece(0).falling);
}

TEST_F(Input, ALeftDragOrbitsOneRadianPerHundredPixels)
{
    const float before = cameraAngle();
    OnButtonDown(game, 300, 200, kMouseLeft);
    OnMouseMove(game, 350, 200, kMouseLeft);
    OnMouseMove(game, 400, 200, kMouseLeft);
    EXPECT_NEAR(cameraAngle() - before, 1.0f, 1e-4f);
    EXPECT_EQ(game.pressX, 400);
}

TEST_F(Input, ARightDragMovesAlongTheLineOfSight)
{
    const float before = modulus(game.camera.position());
    OnButtonDown(game, 300, 200, kMouseRight);
    OnMouseMove(game, 300, 240, kMouseRight);
    EXPECT_NEAR(modulus(game.camera.position()), before - 40.0f, 1e-3f) << "dragging down comes closer";
}

TEST_F(Input, ADragWithModifiersOnlyMovesTheAnchor)
{
    const Vec3 before = game.camera.position();
    OnButtonDown(game, 100, 100, kMouseLeft);
    OnMouseMove(game, 180, 130, kMouseLeft | kMouseShift);
    EXPECT_EQ(game.camera.position(), before);
    EXPECT_EQ(game.pressX, 180);
    EXPECT_EQ(game.pressY, 130);
    OnMouseMove(game, 180, 130, kMouseLeft);
    EXPECT_EQ(game.camera.position(), before) << "releasing Shift does not jump";
}

TEST_F(Input, TheMouseStateFollowsEveryButtonAndMove)
{
    OnButtonDown(game, 10, 20, kMouseLeft);
    EXPECT_EQ(game.mouseKeys, kMouseLeft);
    OnButtonUp(game, 11, 21, 0);
    EXPECT_EQ(game.mouseX, 11);
    EXPECT_EQ(game.mouseKeys, 0);
    EXPECT_EQ(game.pressX, 10);
}

}  // namespace
}  // namespace vokta
