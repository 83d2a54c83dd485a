#include <gtest/gtest.h>

#include <random>

#include "puzzle/turns.h"
#include "test_game.h"

namespace vokta {
namespace {

class Turns : public testing::GameFixture {
protected:
    Turns() { parkPieces(); }

    // Where the piece's frame puts each cube of the shape it was built with.
    CubeOffsets framedOffsets(int index)
    {
        CubeOffsets result{};
        const Matrix4 toWorld = piece(index).frame()->worldTransform();
        for (std::size_t c = 0; c < result.size(); ++c)
            result[c] =
                transformPoint(toWorld, kPieceShapes[static_cast<std::size_t>(index)][c]) - piece(index).position();
        return result;
    }
};

TEST_F(Turns, TheTableMapsOffsetsAsDocumented)
{
    const Vec3 p{10, 20, 30};
    const auto apply = [&](int axis, int sense) {
        Vec3 q;
        EXPECT_TRUE(transformPoint(q, p, quarterTurn(axis, sense).matrix));
        return q;
    };
    EXPECT_EQ(apply(0, 1), (Vec3{10, 30, -20}));
    EXPECT_EQ(apply(0, -1), (Vec3{10, -30, 20}));
    EXPECT_EQ(apply(1, 1), (Vec3{-30, 20, 10}));
    EXPECT_EQ(apply(1, -1), (Vec3{30, 20, -10}));
    EXPECT_EQ(apply(2, 1), (Vec3{20, -10, 30}));
    EXPECT_EQ(apply(2, -1), (Vec3{-20, 10, 30}));
    EXPECT_EQ(quarterTurn(2, 1).angle, -kHalfPi);
}

TEST_F(Turns, TheFrameAlwaysShowsTheOffsetsExactly)
{
    std::mt19937 random(7);
    for (int index = 0; index < kPieceTotal; ++index) {
        piece(index).setPosition(0, 0, 50);
        for (int turnNumber = 0; turnNumber < 60; ++turnNumber) {
            const QuarterTurn turn = quarterTurn(static_cast<int>(random() % 3), random() % 2 ? 1 : -1);
            ASSERT_TRUE(turnQuarter(game, piece(index), turn.matrix, turn.axis, turn.angle));
            ASSERT_EQ(framedOffsets(index), piece(index).offsets) << "piece " << index << " turn " << turnNumber;
        }
        EXPECT_EQ(piece(index).position(), (Vec3{0, 0, 50})) << "turns pivot on the piece position";
        piece(index).setPosition(-90.0f + 30.0f * static_cast<float>(index), 90.0f, 0.0f);
    }
    EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Turns, ARefusedTurnChangesNeitherOffsetsNorFrame)
{
    piece(1).setPosition(0, 0, 0);
    const CubeOffsets offsets = piece(1).offsets;
    const Matrix4 frame = piece(1).frame()->transform();
    // About x with sense +1, the cube above the centre goes below the floor.
    const QuarterTurn turn = quarterTurn(0, 1);
    EXPECT_FALSE(turnQuarter(game, piece(1), turn.matrix, turn.axis, turn.angle));
    EXPECT_EQ(piece(1).offsets, offsets);
    EXPECT_EQ(piece(1).frame()->transform(), frame);
    EXPECT_EQ(sound.count(Cue::Refusal), 1);
}

TEST_F(Turns, LeftThenRightRestoresTheOffsets)
{
    piece(4).setPosition(0, 0, 0);
    const CubeOffsets offsets = piece(4).offsets;
    const QuarterTurn left = quarterTurn(2, 1);
    const QuarterTurn right = quarterTurn(2, -1);
    ASSERT_TRUE(turnQuarter(game, piece(4), left.matrix, left.axis, left.angle));
    EXPECT_NE(piece(4).offsets, offsets);
    ASSERT_TRUE(turnQuarter(game, piece(4), right.matrix, right.axis, right.angle));
    EXPECT_EQ(piece(4).offsets, offsets);
    EXPECT_EQ(piece(4).frame()->transform(), Matrix4::translation({0, 0, 0}));
}

}  // namespace
}  // namespace vokta
