#pragma once

#include <cmath>

namespace vokta {

// A point or direction in model units (see coordinates.h).
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend constexpr Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend constexpr Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend constexpr Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
    friend constexpr Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
    friend constexpr Vec3 operator*(float s, Vec3 a) { return a * s; }
    friend constexpr bool operator==(Vec3 a, Vec3 b) = default;
};

constexpr float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

constexpr Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Length of v.
inline float modulus(Vec3 v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

inline Vec3 scale(Vec3 v, float s)
{
    return v * s;
}

// Each component of v divided by its length (a division, not a product with
// the reciprocal, so that camera poses come out bit for bit the same on every
// platform); a zero vector stays zero.
inline Vec3 normalize(Vec3 v)
{
    const float length = modulus(v);
    return length > 0.0f ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

// v rotated by theta radians about axis (any length), then scaled to unit
// length: v cos(theta) + (k x v) sin(theta) + k (k . v)(1 - cos(theta)) with
// k the unit axis, each component's terms evaluated left to right in single
// precision. With the cross product as in cross(), a positive angle about z
// takes x towards y.
Vec3 rotate(Vec3 v, Vec3 axis, float theta);

}  // namespace vokta
