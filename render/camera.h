#pragma once

#include <memory>

#include "render/frame.h"
#include "render/scene.h"

namespace vokta {

// The viewer. It orbits the scene's origin (yaw about the vertical axis, pitch
// about its own side axis) and moves along its line of sight, either by the
// per-tick speeds while a key is held or directly from mouse drags. The camera
// frame mirrors position, direction and up for the renderer.
class Camera {
public:
    // Direction (0, 0, 1), up (0, 1, 0), speeds 0; the frame is left as it is.
    Camera(Scene& scene, std::shared_ptr<Frame> frame);

    void setPosition(float x, float y, float z);
    // Direction and up are each kept at unit length; they need not be perpendicular.
    void setDirection(float x, float y, float z);
    void setUp(float x, float y, float z);
    // A pose as the camera had it, unit vectors as they were, and still.
    void setPose(Vec3 position, Vec3 direction, Vec3 up);

    // Moves by d along the direction, unless that leaves the sphere of radius
    // sqrt(3,000,000) about the origin or fails to approach the plane z = 0
    // from the camera's side; a step that breaks a limit is dropped whole.
    void moveForward(float d);
    // Orbits about the vertical axis through the origin, angle in radians.
    void yaw(float angle);
    // Orbits about the camera's side axis (direction x up) through the origin.
    void pitch(float angle);
    // Applies the speeds once, scaled by dt ticks: move, then yaw, then pitch.
    void update(float dt);

    Vec3 position() const { return position_; }
    Vec3 direction() const { return direction_; }
    Vec3 up() const { return up_; }
    const std::shared_ptr<Frame>& frame() const { return frame_; }

    float yawSpeed = 0.0f;    // radians per tick
    float moveSpeed = 0.0f;   // model units per tick
    float pitchSpeed = 0.0f;  // radians per tick

private:
    void orbit(Vec3 axis, float angle);

    Scene& scene_;
    std::shared_ptr<Frame> frame_;
    Vec3 position_;
    Vec3 direction_{0.0f, 0.0f, 1.0f};
    Vec3 up_{0.0f, 1.0f, 0.0f};
};

}  // namespace vokta
