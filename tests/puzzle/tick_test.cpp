#include <gtest/gtest.h>

#include "test_game.h"

namespace vokta {
namespace {

class IdleRender : public testing::GameFixture {
protected:
    IdleRender() { parkPieces(); }

    bool renderWhenIdle()
    {
        return RenderWhenIdle(game, [this](float ticks) {
            drawnTicks.push_back(ticks);
            sound.cues.clear();
        });
    }

    std::vector<float> drawnTicks;
};

TEST_F(IdleRender, DrawsNothingWhileNothingChangesAndTicksAccumulate)
{
    game.view.scene.sceneDirty = false;
    tick(5);
    EXPECT_FALSE(renderWhenIdle());
    EXPECT_EQ(game.elapsedTicks, 5.0f);
    game.view.scene.sceneDirty = true;
    EXPECT_TRUE(renderWhenIdle());
    EXPECT_EQ(drawnTicks, (std::vector<float>{5.0f}));
    EXPECT_EQ(game.elapsedTicks, 0.0f);
    EXPECT_FALSE(game.view.scene.sceneDirty);
}

TEST_F(IdleRender, WaitsForATick)
{
    game.elapsedTicks = 0.0f;
    game.view.scene.sceneDirty = true;
    EXPECT_FALSE(renderWhenIdle());
    tick();
    game.view.scene.sceneDirty = true;
    EXPECT_TRUE(renderWhenIdle());
}

TEST_F(IdleRender, PlaysAPendingStepSoundAfterTheFrame)
{
    tick();
    game.view.scene.sceneDirty = true;
    game.stepTunePending = true;
    ASSERT_TRUE(renderWhenIdle());
    ASSERT_EQ(sound.cues.size(), 1u) << "the frame was drawn before the sound";
    EXPECT_EQ(sound.cues[0], Cue::Step);
    EXPECT_FALSE(game.stepTunePending);
}

TEST_F(IdleRender, TheTickMovesTheCameraAndCountsItself)
{
    game.view.camera.yawSpeed = 0.1f;
    const Vec3 before = game.view.camera.position();
    tick(2);
    EXPECT_NE(game.view.camera.position(), before);
    EXPECT_EQ(game.elapsedTicks, 2.0f);
}

}  // namespace
}  // namespace vokta
