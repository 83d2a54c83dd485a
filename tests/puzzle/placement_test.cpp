#include <gtest/gtest.h>

#include "puzzle/selection.h"
#include "test_game.h"

namespace vokta {
namespace {

using testing::GameFixture;

TEST(Snapping, TruncatesTowardZeroToTens)
{
    EXPECT_EQ(snapCoordinate(-15.0f), -10.0f);
    EXPECT_EQ(snapCoordinate(15.0f), 10.0f);
    EXPECT_EQ(snapCoordinate(9.9f), 0.0f);
    EXPECT_EQ(snapCoordinate(19.0f), 10.0f);
    EXPECT_EQ(snapCoordinate(-19.0f), -10.0f);
    EXPECT_EQ(snapCoordinate(-5.0f), 0.0f);
    EXPECT_EQ(snapCoordinate(-100.0f), -100.0f);
}

TEST(CubeOverlap, TouchingIsNotOverlapping)
{
    EXPECT_FALSE(cubesOverlap({0, 0, 0}, {10, 0, 0}));
    EXPECT_FALSE(cubesOverlap({0, 0, 0}, {0, 0, -10}));
    EXPECT_TRUE(cubesOverlap({0, 0, 0}, {8, 0, 0}));
    EXPECT_TRUE(cubesOverlap({0, 0, 0}, {9.99f, 9.99f, -9.99f}));
    EXPECT_FALSE(cubesOverlap({0, 0, 0}, {8, 8, 10}));
}

TEST(PointTransform, DividesByTheFourthComponentAndRefusesNearZero)
{
    Matrix4 m;
    m.at(3, 3) = 2.0f;
    Vec3 p{4, 6, 8};
    EXPECT_TRUE(transformPoint(p, p, m));
    EXPECT_EQ(p, (Vec3{2, 3, 4}));

    m.at(3, 3) = 0.000001f;
    Vec3 untouched{1, 2, 3};
    EXPECT_FALSE(transformPoint(untouched, {5, 5, 5}, m));
    EXPECT_EQ(untouched, (Vec3{1, 2, 3}));

    Matrix4 swap;
    swap.setRow(0, {0, 1, 0});
    swap.setRow(1, {1, 0, 0});
    Vec3 q{10, -10, 0};
    EXPECT_TRUE(transformPoint(q, q, swap)) << "source and destination may be the same point";
    EXPECT_EQ(q, (Vec3{-10, 10, 0}));
}

class Placement : public GameFixture {
protected:
    Placement() { parkPieces(); }
};

TEST_F(Placement, PiecesSideBySideFitButOverlappingOnesAreRefusedWithTheRefusalSound)
{
    // Piece 1 spans x 0..10; piece 3 spans x -10..10. Put piece 3 just right of piece 1.
    piece(1).setPosition(0, 0, 0);
    piece(3).setPosition(30, 0, 0);
    EXPECT_TRUE(piece(3).isPlaceable());
    piece(3).setPosition(28, 0, 0);
    EXPECT_FALSE(piece(3).isPlaceable());
    ASSERT_EQ(sound.cues.size(), 1u);
    EXPECT_EQ(sound.cues[0], Cue::Refusal);
}

TEST_F(Placement, ACubeBelowTheFloorIsRefused)
{
    piece(1).offsets[2] = {0, 0, -10};
    piece(1).setPosition(0, 0, 0);
    EXPECT_FALSE(piece(1).isPlaceable());
    piece(1).setPosition(0, 0, 10);
    EXPECT_TRUE(piece(1).isPlaceable());
}

TEST_F(Placement, APieceNeverOverlapsItselfAndTheRepeatedCubeChangesNothing)
{
    EXPECT_FALSE(piece(0).overlaps(piece(0)));
    EXPECT_EQ(piece(0).offsets[3], piece(0).offsets[0]);
    piece(0).setPosition(0, 0, 0);
    piece(1).setPosition(0, 0, 20);
    EXPECT_TRUE(piece(0).isPlaceable());
    piece(1).setPosition(0, 0, 10);
    EXPECT_TRUE(piece(0).overlaps(piece(1)));
}

TEST_F(Placement, PiecesOutOfPlayAreIgnored)
{
    piece(6).setPosition(0, 0, 0);
    piece(5).setPosition(0, 0, 0);
    game.pieceCount = 6;
    EXPECT_TRUE(piece(5).isPlaceable());
    game.pieceCount = 7;
    EXPECT_FALSE(piece(5).isPlaceable());
}

TEST_F(Placement, SnapToGridMovesTheFrameToo)
{
    piece(2).setPosition(-15.0f, 19.0f, 9.9f);
    piece(2).snapToGrid();
    EXPECT_EQ(piece(2).position(), (Vec3{-10, 10, 0}));
    EXPECT_EQ(piece(2).frame()->position(), (Vec3{-10, 10, 0}));
}

class Falling : public GameFixture {
protected:
    Falling() { parkPieces(); }
};

TEST_F(Falling, APieceReachesTheFloorInStepsOfTwoAndStopsSilently)
{
    piece(1).setPosition(0, 0, 50);
    piece(1).falling = true;
    tick(25);
    EXPECT_EQ(piece(1).position().z, 0.0f);
    EXPECT_TRUE(piece(1).falling);
    tick();
    EXPECT_FALSE(piece(1).falling);
    EXPECT_EQ(piece(1).position().z, 0.0f);
    EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Falling, APieceLandingOnAnotherStopsOneCubeAboveItAndSoundsOnce)
{
    piece(1).setPosition(0, 0, 0);
    piece(2).setPosition(0, 0, 50);
    piece(2).falling = true;
    tick(40);
    EXPECT_FALSE(piece(2).falling);
    // Piece 1's top cube is at z = 10; piece 2's lowest cubes rest at 20.
    EXPECT_EQ(piece(2).position().z, 20.0f);
    EXPECT_EQ(sound.count(Cue::Refusal), 1);
}

TEST_F(Falling, AHeldPieceHangsAndFallsOnWhenReleased)
{
    piece(1).setPosition(0, 0, 50);
    piece(1).falling = true;
    tick(5);
    EXPECT_EQ(piece(1).position().z, 40.0f);
    selectPiece(game, piece(1));
    tick(5);
    EXPECT_EQ(piece(1).position().z, 40.0f);
    releaseSelection(game);
    tick(21);
    EXPECT_EQ(piece(1).position().z, 0.0f);
}

TEST_F(Falling, APieceFoundBelowTheFloorIsLiftedAndFallsAgain)
{
    piece(1).offsets[2] = {0, 0, -10};
    piece(1).setPosition(0, 0, 4);
    piece(1).falling = true;
    tick();
    EXPECT_EQ(piece(1).position().z, 98.0f);
    tick(100);
    EXPECT_EQ(piece(1).position().z, 10.0f);
    EXPECT_FALSE(piece(1).falling);
}

}  // namespace
}  // namespace vokta
