#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "puzzle/rules/turns.h"
#include "test_game.h"

namespace vokta {
namespace {

class Turns : public testing::GameFixture {
protected:
    Turns() { parkPieces(); }

    const Frame& frame(int index) const { return *game.view.pieces[static_cast<std::size_t>(index)]->frame(); }

    // Where the piece's frame puts each cube of the shape it was built with.
    std::array<Vec3, kCubesPerPiece> framedOffsets(int index)
    {
        std::array<Vec3, kCubesPerPiece> result{};
        const Matrix4 toWorld = frame(index).worldTransform();
        for (std::size_t c = 0; c < result.size(); ++c)
            result[c] = transformPoint(toWorld, toVec3(kPieceShapes[static_cast<std::size_t>(index)][c])) -
                toVec3(piece(index).position);
        return result;
    }

    bool turn(int index, int axis, int sense)
    {
        const bool turned = turnPiece(game.state, index, quarterTurn(axis, sense), sound);
        game.present();
        return turned;
    }
};

std::array<Vec3, kCubesPerPiece> asPoints(const CubeOffsets& offsets)
{
    std::array<Vec3, kCubesPerPiece> points{};
    std::transform(offsets.begin(), offsets.end(), points.begin(), toVec3);
    return points;
}

TEST_F(Turns, TheTableMapsOffsetsAsDocumented)
{
    const Cell p{10, 20, 30};
    const auto apply = [&](int axis, int sense) { return rotate(p, quarterTurn(axis, sense)); };
    EXPECT_EQ(apply(0, 1), (Cell{10, 30, -20}));
    EXPECT_EQ(apply(0, -1), (Cell{10, -30, 20}));
    EXPECT_EQ(apply(1, 1), (Cell{-30, 20, 10}));
    EXPECT_EQ(apply(1, -1), (Cell{30, 20, -10}));
    EXPECT_EQ(apply(2, 1), (Cell{20, -10, 30}));
    EXPECT_EQ(apply(2, -1), (Cell{-20, 10, 30}));
}

TEST_F(Turns, TheFrameAlwaysShowsTheOffsetsExactly)
{
    std::mt19937 random(7);
    for (int index = 0; index < kPieceTotal; ++index) {
        piece(index).position = {0, 0, 50};
        for (int turnNumber = 0; turnNumber < 60; ++turnNumber) {
            const int axis = static_cast<int>(random() % 3);
            ASSERT_TRUE(turn(index, axis, random() % 2 ? 1 : -1));
            ASSERT_EQ(framedOffsets(index), asPoints(piece(index).offsets))
                << "piece " << index << " turn " << turnNumber;
        }
        EXPECT_EQ(piece(index).position, (Cell{0, 0, 50})) << "turns pivot on the piece position";
        piece(index).position = {-90 + 30 * index, 90, 0};
    }
    EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Turns, ARefusedTurnChangesNeitherOffsetsNorFrame)
{
    piece(1).position = {0, 0, 0};
    game.present();
    const PieceState before = piece(1);
    const Matrix4 transform = frame(1).transform();
    // About x with sense +1, the cube above the centre goes below the floor.
    EXPECT_FALSE(turn(1, 0, 1));
    EXPECT_EQ(piece(1), before);
    EXPECT_EQ(frame(1).transform(), transform);
    EXPECT_EQ(sound.count(Cue::Refusal), 1);
}

TEST_F(Turns, LeftThenRightRestoresTheOffsets)
{
    piece(4).position = {0, 0, 0};
    const CubeOffsets offsets = piece(4).offsets;
    ASSERT_TRUE(turn(4, 2, 1));
    EXPECT_NE(piece(4).offsets, offsets);
    ASSERT_TRUE(turn(4, 2, -1));
    EXPECT_EQ(piece(4).offsets, offsets);
    EXPECT_EQ(piece(4).turn, Rotation{});
    EXPECT_EQ(frame(4).transform(), Matrix4::translation({0, 0, 0}));
}

}  // namespace
}  // namespace vokta
