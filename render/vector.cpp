#include "render/vector.h"

namespace vokta {

Vec3 rotate(Vec3 v, Vec3 axis, float theta)
{
    const Vec3 k = normalize(axis);
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const Vec3 turned = v * c + cross(k, v) * s + k * (dot(k, v) * (1.0f - c));
    return normalize(turned);
}

}  // namespace vokta
