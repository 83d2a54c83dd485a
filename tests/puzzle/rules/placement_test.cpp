// The rules on a bare game state, with no scene: placement, overlap,
// snapping, and whether a solution can be put down piece by piece.

#include <gtest/gtest.h>

#include "puzzle/rules/solver.h"
#include "state_fixture.h"

namespace vokta {
namespace {

TEST(Snapping, TruncatesTowardZeroToTens)
{
    const std::pair<int, int> table[] = {{-15, -10}, {15, 10}, {9, 0}, {19, 10}, {-19, -10}, {-5, 0}, {-100, -100}};
    for (const auto& [value, snapped] : table)
        EXPECT_EQ(snapCoordinate(value), snapped) << value;
    PieceState piece;
    piece.position = {-15, 19, 9};
    snapToGrid(piece);
    EXPECT_EQ(piece.position, (Cell{-10, 10, 0}));
}

TEST(CubeOverlap, TouchingIsNotOverlapping)
{
    EXPECT_FALSE(cubesOverlap({0, 0, 0}, {10, 0, 0}));
    EXPECT_FALSE(cubesOverlap({0, 0, 0}, {0, 0, -10}));
    EXPECT_TRUE(cubesOverlap({0, 0, 0}, {8, 0, 0}));
    EXPECT_TRUE(cubesOverlap({0, 0, 0}, {9, 9, -9}));
    EXPECT_FALSE(cubesOverlap({0, 0, 0}, {8, 8, 10}));
}

using Placement = testing::StateFixture;

TEST_F(Placement, PiecesSideBySideFitButOverlappingOnesAreRefusedWithTheRefusalSound)
{
    // Piece 1 spans x 0..10; piece 3 spans x -10..10. Put piece 3 just right of piece 1.
    piece(1).position = {0, 0, 0};
    piece(3).position = {30, 0, 0};
    EXPECT_TRUE(placeable(3));
    piece(3).position = {28, 0, 0};
    EXPECT_FALSE(placeable(3));
    ASSERT_EQ(sound.cues.size(), 1u);
    EXPECT_EQ(sound.cues[0], Cue::Refusal);
}

TEST_F(Placement, ACubeBelowTheFloorIsRefused)
{
    piece(1).offsets[2] = {0, 0, -10};
    piece(1).position = {0, 0, 0};
    EXPECT_FALSE(placeable(1));
    piece(1).position = {0, 0, 10};
    EXPECT_TRUE(placeable(1));
}

TEST_F(Placement, TheRepeatedCubeChangesNothing)
{
    EXPECT_EQ(piece(0).offsets[3], piece(0).offsets[0]);
    piece(0).position = {0, 0, 0};
    piece(1).position = {0, 0, 20};
    EXPECT_TRUE(placeable(0));
    piece(1).position = {0, 0, 10};
    EXPECT_TRUE(overlaps(piece(0), piece(1)));
}

TEST_F(Placement, PiecesOutOfPlayAreIgnored)
{
    piece(6).position = {0, 0, 0};
    piece(5).position = {0, 0, 0};
    state.pieceCount = 6;
    EXPECT_TRUE(placeable(5));
    state.pieceCount = 7;
    EXPECT_FALSE(placeable(5));
}

// A move or turn tried is refused by what is in the way: the floor before
// any piece, then the first piece in play it would overlap, resting or falling.
TEST_F(Placement, TheObstructionNamesTheFloorOrThePieceInTheWay)
{
    using Kind = Obstruction::Kind;
    piece(1).position = {0, 0, 0};  // cubes (0,0,0) (10,0,0) (0,0,10) (0,10,0)
    piece(4).position = {0, 30, 0};
    piece(4).falling = true;
    const CubeOffsets shape3 = kPieceShapes[3];  // x -10..10, one cube up
    const CubeOffsets lying = {{{0, 0, 0}, {10, 0, 0}, {0, 0, -10}, {-10, 0, 0}}};
    const struct {
        Cell position;
        CubeOffsets offsets;
        Obstruction expected;
    } table[] = {
        {{40, 0, 0}, shape3, {}},
        {{20, 0, 0}, shape3, {Kind::Piece, 1}},
        {{0, 0, 20}, shape3, {}},
        {{0, 0, 10}, shape3, {Kind::Piece, 1}},
        {{0, 30, 0}, shape3, {Kind::Piece, 4}},
        {{40, 0, 0}, lying, {Kind::Floor}},
        {{0, 0, 0}, lying, {Kind::Floor}},
        {{40, 0, 10}, lying, {}},
        {{-90 + 30 * 3, 90, 0}, shape3, {}},
        {{-90 + 30 * 6, 90, 0}, shape3, {Kind::Piece, 6}},
    };
    for (const auto& row : table) {
        EXPECT_EQ(obstructionAt(state, 3, row.position, row.offsets), row.expected)
            << row.position.x << "," << row.position.y << "," << row.position.z;
    }
    state.pieceCount = 6;
    EXPECT_EQ(obstructionAt(state, 3, {-90 + 30 * 6, 90, 0}, shape3), Obstruction{});
    EXPECT_TRUE(sound.cues.empty());
}

// The assembled cube can be put down piece by piece; lifted a cell, its top
// piece would hang in the air.
TEST(CanBeBuilt, OnlyWhenEveryPieceComesToRest)
{
    const Solution cube(kBuiltInSolution.begin(), kBuiltInSolution.end());
    EXPECT_TRUE(canBeBuilt(cube));
    Solution lifted = cube;
    lifted[3].position = lifted[3].position + Cell{0, 0, 10};
    EXPECT_FALSE(canBeBuilt(lifted));
    EXPECT_TRUE(canBeBuilt({}));
}

}  // namespace
}  // namespace vokta
