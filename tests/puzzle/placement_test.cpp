#include <gtest/gtest.h>

#include "puzzle/controller/selection.h"
#include "test_game.h"

namespace vokta {
namespace {

using testing::GameFixture;

class Falling : public GameFixture {
protected:
    Falling() { parkPieces(); }
};

TEST_F(Falling, APieceReachesTheFloorInStepsOfTwoAndStopsSilently)
{
    piece(1).position = {0, 0, 50};
    piece(1).falling = true;
    tick(25);
    EXPECT_EQ(piece(1).position.z, 0);
    EXPECT_TRUE(piece(1).falling);
    tick();
    EXPECT_FALSE(piece(1).falling);
    EXPECT_EQ(piece(1).position.z, 0);
    EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Falling, APieceLandingOnAnotherStopsOneCubeAboveItAndSoundsOnce)
{
    piece(1).position = {0, 0, 0};
    piece(2).position = {0, 0, 50};
    piece(2).falling = true;
    tick(40);
    EXPECT_FALSE(piece(2).falling);
    // Piece 1's top cube is at z = 10; piece 2's lowest cubes rest at 20.
    EXPECT_EQ(piece(2).position.z, 20);
    EXPECT_EQ(sound.count(Cue::Refusal), 1);
}

TEST_F(Falling, AHeldPieceHangsAndFallsOnWhenReleased)
{
    piece(1).position = {0, 0, 50};
    piece(1).falling = true;
    tick(5);
    EXPECT_EQ(piece(1).position.z, 40);
    selectPiece(game, 1);
    tick(5);
    EXPECT_EQ(piece(1).position.z, 40);
    releaseSelection(game);
    tick(21);
    EXPECT_EQ(piece(1).position.z, 0);
}

TEST_F(Falling, APieceFoundBelowTheFloorIsLiftedAndFallsAgain)
{
    piece(1).offsets[2] = {0, 0, -10};
    piece(1).position = {0, 0, 4};
    piece(1).falling = true;
    tick();
    EXPECT_EQ(piece(1).position.z, 98);
    tick(100);
    EXPECT_EQ(piece(1).position.z, 10);
    EXPECT_FALSE(piece(1).falling);
}

}  // namespace
}  // namespace vokta
