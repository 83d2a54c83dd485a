#include "render/matrix.h"

#include <cmath>

namespace vokta {

Matrix4 Matrix4::translation(Vec3 t)
{
    Matrix4 result;
    result.setTranslation(t);
    return result;
}

Matrix4 Matrix4::rotation(Vec3 axis, float theta)
{
    // Worked in double so that quarter turns come out as exact 0 and +-1.
    const double length = std::sqrt(double(axis.x) * axis.x + double(axis.y) * axis.y + double(axis.z) * axis.z);
    Matrix4 result;
    if (length == 0.0)
        return result;
    const double kx = axis.x / length, ky = axis.y / length, kz = axis.z / length;
    const double c = std::cos(double(theta)), s = std::sin(double(theta)), t = 1.0 - c;
    // Row i is the image of the i-th unit vector under rotate().
    const double r[3][3] = {
        {t * kx * kx + c, t * kx * ky + s * kz, t * kx * kz - s * ky},
        {t * kx * ky - s * kz, t * ky * ky + c, t * ky * kz + s * kx},
        {t * kx * kz + s * ky, t * ky * kz - s * kx, t * kz * kz + c},
    };
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double value = r[i][j];
            const double nearest = std::round(value);
            if (std::abs(value - nearest) < 1e-6)
                value = nearest;
            result.at(i, j) = static_cast<float>(value);
        }
    }
    return result;
}

Matrix4 Matrix4::orientation(Vec3 direction, Vec3 up)
{
    const Vec3 z = normalize(direction);
    Vec3 x = normalize(cross(up, z));
    if (modulus(x) == 0.0f) {
        // Up parallel to the direction: any perpendicular will do, as long as
        // the same one comes out every time.
        x = normalize(cross(std::abs(z.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{0, 0, 1}, z));
    }
    const Vec3 y = cross(z, x);
    Matrix4 result;
    result.setRow(0, x);
    result.setRow(1, y);
    result.setRow(2, z);
    return result;
}

void Matrix4::setRow(int r, Vec3 v)
{
    at(r, 0) = v.x;
    at(r, 1) = v.y;
    at(r, 2) = v.z;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b)
{
    Matrix4 result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.at(i, k) * b.at(k, j);
            result.at(i, j) = sum;
        }
    }
    return result;
}

Vec3 transformPoint(const Matrix4& m, Vec3 p)
{
    return {p.x * m.at(0, 0) + p.y * m.at(1, 0) + p.z * m.at(2, 0) + m.at(3, 0),
            p.x * m.at(0, 1) + p.y * m.at(1, 1) + p.z * m.at(2, 1) + m.at(3, 1),
            p.x * m.at(0, 2) + p.y * m.at(1, 2) + p.z * m.at(2, 2) + m.at(3, 2)};
}

Vec3 transformDirection(const Matrix4& m, Vec3 d)
{
    return {d.x * m.at(0, 0) + d.y * m.at(1, 0) + d.z * m.at(2, 0),
            d.x * m.at(0, 1) + d.y * m.at(1, 1) + d.z * m.at(2, 1),
            d.x * m.at(0, 2) + d.y * m.at(1, 2) + d.z * m.at(2, 2)};
}

Matrix4 affineInverse(const Matrix4& m)
{
    const double a = m.at(0, 0), b = m.at(0, 1), c = m.at(0, 2);
    const double d = m.at(1, 0), e = m.at(1, 1), f = m.at(1, 2);
    const double g = m.at(2, 0), h = m.at(2, 1), i = m.at(2, 2);
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (det == 0.0)
        return Matrix4::identity();
    const double inv[3][3] = {
        {(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det},
        {(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det},
        {(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det},
    };
    Matrix4 result;
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            result.at(r, col) = static_cast<float>(inv[r][col]);
    const Vec3 t = m.translationPart();
    result.setTranslation(-transformDirection(result, t));
    return result;
}

}  // namespace vokta
