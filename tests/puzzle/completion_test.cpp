#include <gtest/gtest.h>

#include "test_game.h"

namespace vokta {
namespace {

class Completion : public testing::GameFixture {
protected:
    // Places every piece at the origin with its cubes set to the built-in
    // task's world cells, in order: 3 cubes for piece 0, 4 for each other.
    void fillBuiltInTask(Vec3 shift = {})
    {
        std::size_t cell = 0;
        for (int p = 0; p < kPieceTotal; ++p) {
            Piece& pc = piece(p);
            pc.falling = false;
            pc.setPosition(shift);
            const int cubes = p == 0 ? 3 : 4;
            for (int c = 0; c < cubes; ++c)
                pc.offsets[static_cast<std::size_t>(c)] = kBuiltInTask[cell++] + kBuiltInTaskPosition;
            if (p == 0)
                pc.offsets[3] = pc.offsets[0];
        }
    }

    bool completed() const { return game.taskFigure->isCompleted(); }
};

TEST_F(Completion, TheBuiltInTaskStandsOnTheFloorInTheMiddle)
{
    EXPECT_EQ(game.cellCount, 27);
    EXPECT_EQ(game.taskFigure->position(), (Vec3{0, 0, 10}));
    EXPECT_EQ(game.taskFigure->cells()[0], (Vec3{-10, -10, -10}));
    EXPECT_EQ(game.taskFigure->cells()[26], (Vec3{10, 10, 10}));
    EXPECT_EQ(game.taskFigure->frame()->visuals().size(), 1u);
    EXPECT_EQ(game.taskFigure->frame()->visuals()[0]->quality(), RenderQuality::Wireframe);
    EXPECT_EQ(game.taskFigure->frame()->visuals()[0]->faces().size(), 27u * 6u);
    EXPECT_EQ(game.taskFigure->frame()->visuals()[0]->faces()[0].colour, 0xFFFFFFFFu);
}

TEST_F(Completion, TheFilledFigureCompletes)
{
    fillBuiltInTask();
    EXPECT_TRUE(completed());
}

TEST_F(Completion, AShiftedAssemblyDoesNot)
{
    for (const Vec3 shift :
         {Vec3{10, 0, 0}, Vec3{-10, 0, 0}, Vec3{0, 10, 0}, Vec3{0, -10, 0}, Vec3{0, 0, 10}, Vec3{0, 0, 2}}) {
        fillBuiltInTask(shift);
        EXPECT_FALSE(completed()) << shift.x << " " << shift.y << " " << shift.z;
    }
}

TEST_F(Completion, OneCubeOutsideFailsWhicheverPieceItBelongsTo)
{
    for (int p = 0; p < kPieceTotal; ++p) {
        fillBuiltInTask();
        piece(p).offsets[1] = {100, 100, 0};
        EXPECT_FALSE(completed()) << "piece " << p;
    }
}

TEST_F(Completion, TheRepeatedSlotOfTheThreeCubePieceNeverCounts)
{
    fillBuiltInTask();
    const Vec3 freed = piece(0).offsets[2];
    piece(0).offsets[2] = {100, 100, 0};
    piece(0).offsets[3] = freed;
    EXPECT_FALSE(completed());
}

TEST_F(Completion, AnEmptyTaskCompletesAtOnceAndANegativeOneNever)
{
    game.cellCount = 0;
    EXPECT_TRUE(completed());
    game.cellCount = -3;
    EXPECT_FALSE(completed());
}

TEST_F(Completion, TheTickReportsOnceWithRepaintFanfarePauseAndMessage)
{
    fillBuiltInTask();
    game.stepTunePending = true;
    tick();
    EXPECT_TRUE(game.taskCompleted);
    EXPECT_FALSE(game.stepTunePending);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"repaint", "pause", "success"}));
    EXPECT_EQ(sound.count(Cue::Fanfare), 1);
    tick(3);
    EXPECT_EQ(sound.count(Cue::Fanfare), 1);
}

TEST_F(Completion, ASelectedPieceHoldsTheTestUntilReleased)
{
    fillBuiltInTask();
    game.selectedPiece = &piece(3);
    game.selectionMode = SelectionMode::Move;
    tick(3);
    EXPECT_FALSE(game.taskCompleted);
    game.selectedPiece = nullptr;
    game.selectionMode = SelectionMode::None;
    tick();
    EXPECT_TRUE(game.taskCompleted);
}

TEST_F(Completion, SolidViewSurvivesARebuild)
{
    game.taskFigure->setSolid(true);
    game.taskFigure->buildDefault();
    EXPECT_TRUE(game.taskFigure->solid());
    EXPECT_EQ(game.taskFigure->frame()->visuals()[0]->quality(), RenderQuality::Flat);
    game.taskFigure->setSolid(false);
    EXPECT_EQ(game.taskFigure->frame()->visuals()[0]->quality(), RenderQuality::Wireframe);
}

}  // namespace
}  // namespace vokta
