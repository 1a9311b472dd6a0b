#include "web/gl_matrix.h"

#include <cmath>

namespace lumidor::web {

TMatrix4 IdentityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

TMatrix4 MultiplyMatrices(const TMatrix4& a, const TMatrix4& b) {
    TMatrix4 product{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[std::size_t(k * 4 + r)] * b[std::size_t(c * 4 + k)];
            product[std::size_t(c * 4 + r)] = sum;
        }
    return product;
}

TMatrix4 TranslationMatrix(float x, float y, float z) {
    TMatrix4 m = IdentityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

TMatrix4 ScaleMatrix(float x, float y, float z) {
    TMatrix4 m = IdentityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

TMatrix4 RotationMatrix(float angleDegrees, float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) return IdentityMatrix(); // GL leaves the result undefined; nothing rotates
    x /= length;
    y /= length;
    z /= length;
    const double radians = double(angleDegrees) * 3.14159265358979323846 / 180.0;
    const float c = float(std::cos(radians));
    const float s = float(std::sin(radians));
    const float t = 1.0f - c;
    // One column of the matrix per line.
    // clang-format off
    return {x * x * t + c,     y * x * t + z * s, x * z * t - y * s, 0,
            x * y * t - z * s, y * y * t + c,     y * z * t + x * s, 0,
            x * z * t + y * s, y * z * t - x * s, z * z * t + c,     0,
            0,                 0,                 0,                 1};
    // clang-format on
}

TMatrix4 OrthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar) {
    TMatrix4 m = IdentityMatrix();
    m[0] = float(2.0 / (right - left));
    m[5] = float(2.0 / (top - bottom));
    m[10] = float(-2.0 / (zFar - zNear));
    m[12] = float(-(right + left) / (right - left));
    m[13] = float(-(top + bottom) / (top - bottom));
    m[14] = float(-(zFar + zNear) / (zFar - zNear));
    return m;
}

TMatrix4 PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double radians = fovyDegrees / 2.0 * 3.14159265358979323846 / 180.0;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    // GLU leaves the matrix unchanged for a degenerate frustum.
    if (deltaZ == 0.0 || sine == 0.0 || aspect == 0.0) return IdentityMatrix();
    const double cotangent = std::cos(radians) / sine;
    TMatrix4 m{};
    m[0] = float(cotangent / aspect);
    m[5] = float(cotangent);
    m[10] = float(-(zFar + zNear) / deltaZ);
    m[11] = -1.0f;
    m[14] = float(-2.0 * zNear * zFar / deltaZ);
    return m;
}

std::array<float, 9> NormalMatrix(const TMatrix4& m) {
    // Cofactors of the upper-left block over its determinant: the inverse transpose.
    const float a = m[0], b = m[4], c = m[8];
    const float d = m[1], e = m[5], f = m[9];
    const float g = m[2], h = m[6], i = m[10];
    const float determinant = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (determinant == 0.0f) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const float k = 1.0f / determinant;
    // Row-major inverse transpose entries, stored column-major.
    const float r00 = (e * i - f * h) * k, r01 = -(d * i - f * g) * k, r02 = (d * h - e * g) * k;
    const float r10 = -(b * i - c * h) * k, r11 = (a * i - c * g) * k, r12 = -(a * h - b * g) * k;
    const float r20 = (b * f - c * e) * k, r21 = -(a * f - c * d) * k, r22 = (a * e - b * d) * k;
    return {r00, r10, r20, r01, r11, r21, r02, r12, r22};
}

std::array<float, 4> TransformPoint(const TMatrix4& m, float x, float y, float z, float w) {
    std::array<float, 4> out{};
    for (int r = 0; r < 4; ++r)
        out[std::size_t(r)] = m[std::size_t(r)] * x + m[std::size_t(4 + r)] * y + m[std::size_t(8 + r)] * z +
                              m[std::size_t(12 + r)] * w;
    return out;
}

} // namespace lumidor::web
