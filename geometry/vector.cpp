#include "geometry/vector.h"

namespace vokta {

Vec3 rotate(Vec3 v, Vec3 axis, float theta)
{
    const Vec3 k = normalize(axis);
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const Vec3 kv = cross(k, v);
    const float along = dot(k, v);
    const float rest = 1.0f - c;
    const Vec3 turned{v.x * c + kv.x * s + k.x * along * rest, v.y * c + kv.y * s + k.y * along * rest,
                      v.z * c + kv.z * s + k.z * along * rest};
    return normalize(turned);
}

}  // namespace vokta
