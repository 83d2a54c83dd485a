#include "render/camera.h"

namespace vokta {

namespace {

constexpr float kMaxDistanceSquared = 3000000.0f;

}  // namespace

Camera::Camera(Scene& scene, std::shared_ptr<Frame> frame) : scene_(scene), frame_(std::move(frame)) {}

void Camera::setPosition(float x, float y, float z)
{
    position_ = {x, y, z};
    frame_->setPosition(scene_.sceneFrame().get(), position_);
    scene_.sceneDirty = true;
}

void Camera::setDirection(float x, float y, float z)
{
    direction_ = normalize({x, y, z});
    frame_->setOrientation(scene_.sceneFrame().get(), direction_, up_);
    scene_.sceneDirty = true;
}

void Camera::setUp(float x, float y, float z)
{
    up_ = normalize({x, y, z});
    frame_->setOrientation(scene_.sceneFrame().get(), direction_, {x, y, z});
    scene_.sceneDirty = true;
}

void Camera::setPose(Vec3 position, Vec3 direction, Vec3 up)
{
    position_ = position;
    direction_ = direction;
    up_ = up;
    yawSpeed = 0.0f;
    moveSpeed = 0.0f;
    pitchSpeed = 0.0f;
    frame_->setPosition(scene_.sceneFrame().get(), position_);
    frame_->setOrientation(scene_.sceneFrame().get(), direction_, up_);
    scene_.sceneDirty = true;
}

void Camera::moveForward(float d)
{
    const Vec3 n = position_ + direction_ * d;
    if (n.x * n.x + n.y * n.y + n.z * n.z > kMaxDistanceSquared)
        return;
    if (n.z * direction_.z >= 0.0f)
        return;
    setPosition(n.x, n.y, n.z);
}

void Camera::yaw(float angle)
{
    orbit({0.0f, 0.0f, 1.0f}, angle);
}

void Camera::pitch(float angle)
{
    orbit(cross(direction_, up_), angle);
}

void Camera::orbit(Vec3 axis, float angle)
{
    const float distance = modulus(position_);
    const Vec3 p = scale(rotate(position_, axis, angle), distance);
    setPosition(p.x, p.y, p.z);
    const Vec3 d = rotate(direction_, axis, angle);
    setDirection(d.x, d.y, d.z);
    const Vec3 u = rotate(up_, axis, angle);
    setUp(u.x, u.y, u.z);
}

void Camera::update(float dt)
{
    if (moveSpeed != 0.0f)
        moveForward(dt * moveSpeed);
    if (yawSpeed != 0.0f)
        yaw(dt * yawSpeed);
    if (pitchSpeed != 0.0f)
        pitch(dt * pitchSpeed);
}

}  // namespace vokta
