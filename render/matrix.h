#pragma once

#include <array>

#include "geometry/vector.h"

namespace vokta {

// A 4 x 4 matrix stored row by row; points are row vectors, so a point p in a
// frame's own coordinates is p * M in its parent's, and "A then B" is A * B.
struct Matrix4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& at(int row, int column) { return m[static_cast<std::size_t>(row * 4 + column)]; }
    float at(int row, int column) const { return m[static_cast<std::size_t>(row * 4 + column)]; }

    static Matrix4 identity() { return {}; }
    static Matrix4 translation(Vec3 t);
    // Rotation by theta radians about axis, turning the same way as rotate().
    static Matrix4 rotation(Vec3 axis, float theta);
    // Rows x, y, z of the rotation part are the frame's axes: z along the
    // direction, y towards up, x = y cross z (see coordinates.h).
    static Matrix4 orientation(Vec3 direction, Vec3 up);

    Vec3 row(int r) const { return {at(r, 0), at(r, 1), at(r, 2)}; }
    void setRow(int r, Vec3 v);
    Vec3 translationPart() const { return row(3); }
    void setTranslation(Vec3 t) { setRow(3, t); }

    friend Matrix4 operator*(const Matrix4& a, const Matrix4& b);
    friend bool operator==(const Matrix4& a, const Matrix4& b) = default;
};

// (p, 1) * M, ignoring the last column (every frame transform is affine).
Vec3 transformPoint(const Matrix4& m, Vec3 p);
// (d, 0) * M: a direction, unaffected by translation.
Vec3 transformDirection(const Matrix4& m, Vec3 d);
// Inverse of an affine matrix; a singular one gives the identity.
Matrix4 affineInverse(const Matrix4& m);

}  // namespace vokta
