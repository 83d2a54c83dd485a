#include <gtest/gtest.h>

#include "test_game.h"

namespace vokta {
namespace {

class Completion : public testing::GameFixture {
protected:
    // Places every piece at the origin with its cubes set to the built-in
    // task's world cells, in order: 3 cubes for piece 0, 4 for each other.
    void fillBuiltInTask(Cell shift = {})
    {
        std::size_t cell = 0;
        for (int p = 0; p < kPieceTotal; ++p) {
            PieceState& pc = piece(p);
            pc.falling = false;
            pc.position = shift;
            const int cubes = p == 0 ? 3 : 4;
            for (int c = 0; c < cubes; ++c) {
                const Vec3 world = kBuiltInTask[cell++] + kBuiltInTaskPosition;
                pc.offsets[static_cast<std::size_t>(c)] = {static_cast<int>(world.x), static_cast<int>(world.y),
                                                           static_cast<int>(world.z)};
            }
            if (p == 0)
                pc.offsets[3] = pc.offsets[0];
        }
    }

    bool completed() const { return isCompleted(game.state); }
    const MeshBuilder& figureMesh() const { return *game.view.taskFigure->frame()->visuals()[0]; }
};

TEST_F(Completion, TheBuiltInTaskStandsOnTheFloorInTheMiddle)
{
    EXPECT_EQ(game.state.cellCount, 27);
    EXPECT_EQ(game.state.figure.position, (Vec3{0, 0, 10}));
    EXPECT_EQ(game.state.figure.cells[0], (Vec3{-10, -10, -10}));
    EXPECT_EQ(game.state.figure.cells[26], (Vec3{10, 10, 10}));
    EXPECT_EQ(game.view.taskFigure->position(), (Vec3{0, 0, 10}));
    EXPECT_EQ(game.view.taskFigure->frame()->visuals().size(), 1u);
    EXPECT_EQ(figureMesh().quality(), RenderQuality::Wireframe);
    EXPECT_EQ(figureMesh().faces().size(), 27u * 6u);
    EXPECT_EQ(figureMesh().faces()[0].colour, 0xFFFFFFFFu);
}

TEST_F(Completion, TheFilledFigureCompletes)
{
    fillBuiltInTask();
    EXPECT_TRUE(completed());
}

TEST_F(Completion, AShiftedAssemblyDoesNot)
{
    for (const Cell shift :
         {Cell{10, 0, 0}, Cell{-10, 0, 0}, Cell{0, 10, 0}, Cell{0, -10, 0}, Cell{0, 0, 10}, Cell{0, 0, 2}}) {
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
    const Cell freed = piece(0).offsets[2];
    piece(0).offsets[2] = {100, 100, 0};
    piece(0).offsets[3] = freed;
    EXPECT_FALSE(completed());
}

TEST_F(Completion, AnEmptyTaskCompletesAtOnceAndANegativeOneNever)
{
    game.state.cellCount = 0;
    EXPECT_TRUE(completed());
    game.state.cellCount = -3;
    EXPECT_FALSE(completed());
}

TEST_F(Completion, TheTickReportsOnceWithRepaintFanfarePauseAndMessage)
{
    fillBuiltInTask();
    game.stepTunePending = true;
    tick();
    EXPECT_TRUE(game.state.taskCompleted);
    EXPECT_FALSE(game.stepTunePending);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"repaint", "pause", "success"}));
    EXPECT_EQ(sound.count(Cue::Fanfare), 1);
    tick(3);
    EXPECT_EQ(sound.count(Cue::Fanfare), 1);
}

TEST_F(Completion, ASelectedPieceHoldsTheTestUntilReleased)
{
    fillBuiltInTask();
    game.state.selected = 3;
    game.state.selectionMode = SelectionMode::Move;
    tick(3);
    EXPECT_FALSE(game.state.taskCompleted);
    game.state.selected = -1;
    game.state.selectionMode = SelectionMode::None;
    tick();
    EXPECT_TRUE(game.state.taskCompleted);
}

TEST_F(Completion, SolidViewSurvivesARebuild)
{
    game.view.taskFigure->setSolid(true);
    game.state.figure.shown = false;
    game.present();
    buildDefault(game.state);
    game.present();
    EXPECT_TRUE(game.view.taskFigure->solid());
    EXPECT_EQ(figureMesh().quality(), RenderQuality::Flat);
    game.view.taskFigure->setSolid(false);
    EXPECT_EQ(figureMesh().quality(), RenderQuality::Wireframe);
}

}  // namespace
}  // namespace vokta
