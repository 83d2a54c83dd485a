#include <gtest/gtest.h>

#include <cmath>

#include "render/camera.h"

namespace vokta {
namespace {

class CameraTest : public ::testing::Test {
protected:
    CameraTest() : camera(scene, scene.cameraFrame())
    {
        camera.setPosition(100, 100, 100);
        camera.setDirection(-1, -1, -1);
        camera.setUp(0, 0, 1);
    }

    Scene scene{""};
    Camera camera;
};

TEST_F(CameraTest, MovingInStopsAboveTheGroundPlane)
{
    camera.moveSpeed = 10.0f;
    Vec3 last = camera.position();
    for (int tick = 0; tick < 100; ++tick) {
        camera.update(1.0f);
        EXPECT_GT(camera.position().z, 0.0f);
        last = camera.position();
    }
    // 173.2 units from the origin in steps of 10: the 18th step would cross z = 0.
    EXPECT_NEAR(modulus(last), std::sqrt(30000.0f) - 170.0f, 1e-3f);
    const Vec3 stuck = camera.position();
    camera.update(1.0f);
    EXPECT_EQ(camera.position(), stuck);
}

TEST_F(CameraTest, MovingOutStopsInsideTheBoundingSphere)
{
    camera.moveSpeed = -10.0f;
    for (int tick = 0; tick < 400; ++tick)
        camera.update(1.0f);
    const float distance = modulus(camera.position());
    EXPECT_LE(distance * distance, 3000000.0f * 1.0001f);
    EXPECT_GT(distance, std::sqrt(3000000.0f) - 10.0f);
}

TEST_F(CameraTest, ALevelCameraCannotMoveButCanYaw)
{
    camera.setPosition(100, 0, 0);
    camera.setDirection(-1, 0, 0);
    camera.moveForward(10.0f);
    camera.moveForward(-10.0f);
    EXPECT_EQ(camera.position(), (Vec3{100, 0, 0}));
    camera.yaw(0.1f);
    EXPECT_NE(camera.position(), (Vec3{100, 0, 0}));
}

TEST_F(CameraTest, YawOrbitsAboutTheVerticalAxis)
{
    camera.yawSpeed = 0.1f;
    for (int tick = 0; tick < 63; ++tick)
        camera.update(1.0f);
    EXPECT_NEAR(camera.position().z, 100.0f, 1e-3f);
    EXPECT_NEAR(modulus(camera.position()), std::sqrt(30000.0f), 1e-2f);
    // 6.3 radians: just past a full circle.
    const float angle = std::atan2(camera.position().y, camera.position().x);
    EXPECT_NEAR(angle, std::atan2(100.0f, 100.0f) + 6.3f - 2.0f * 3.14159265f, 1e-3f);
    EXPECT_NEAR(camera.up().z, 1.0f, 1e-6f);
    EXPECT_NEAR(camera.up().x, 0.0f, 1e-6f);
}

TEST_F(CameraTest, PitchOrbitsAboutTheSideAxisWithoutLimit)
{
    camera.pitchSpeed = 0.1f;
    for (int tick = 0; tick < 20; ++tick)
        camera.update(1.0f);
    EXPECT_NEAR(modulus(camera.position()), std::sqrt(30000.0f), 1e-2f);
    EXPECT_LT(camera.position().z, 0.0f) << "pitch carries the camera below the floor plane";
}

TEST_F(CameraTest, SpeedsApplyInTheOrderMoveYawPitch)
{
    Scene otherScene{""};
    Camera manual(otherScene, otherScene.cameraFrame());
    manual.setPosition(100, 100, 100);
    manual.setDirection(-1, -1, -1);
    manual.setUp(0, 0, 1);
    manual.moveForward(10.0f);
    manual.yaw(0.1f);
    manual.pitch(0.1f);

    camera.moveSpeed = 10.0f;
    camera.yawSpeed = 0.1f;
    camera.pitchSpeed = 0.1f;
    camera.update(1.0f);
    EXPECT_EQ(camera.position(), manual.position());
    EXPECT_EQ(camera.direction(), manual.direction());
}

TEST_F(CameraTest, TheFrameFollowsTheCamera)
{
    EXPECT_EQ(scene.cameraFrame()->position(), (Vec3{100, 100, 100}));
    const Vec3 z = scene.cameraFrame()->transform().row(2);
    EXPECT_NEAR(z.x, -1.0f / std::sqrt(3.0f), 1e-6f);
    scene.sceneDirty = false;
    camera.yaw(0.5f);
    EXPECT_TRUE(scene.sceneDirty);
    EXPECT_EQ(scene.cameraFrame()->position(), camera.position());
}

}  // namespace
}  // namespace vokta
