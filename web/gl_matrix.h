#pragma once
// The fixed-function matrix operations the project calls (glTranslatef, glRotatef, glOrtho,
// gluPerspective, ...) as plain 4 x 4 column-major arithmetic, for the WebGL renderer that has no
// matrix stack of its own.

#include <array>

namespace lumidor::web {

/// 16 floats in OpenGL's column-major order: element (row r, column c) is at [c * 4 + r].
using TMatrix4 = std::array<float, 16>;

/// The identity.
TMatrix4 IdentityMatrix();
/// a x b (b applied first, as glMultMatrix multiplies the current matrix on the right).
TMatrix4 MultiplyMatrices(const TMatrix4& a, const TMatrix4& b);
/// The matrices glTranslatef, glScalef, glRotatef (angle in degrees about the axis, normalised
/// here), glOrtho and gluPerspective (vertical field of view in degrees) multiply with.
TMatrix4 TranslationMatrix(float x, float y, float z);
TMatrix4 ScaleMatrix(float x, float y, float z);
TMatrix4 RotationMatrix(float angleDegrees, float x, float y, float z);
TMatrix4 OrthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar);
TMatrix4 PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);
/// The inverse transpose of the upper-left 3 x 3 block (how normals go to eye space), column-major;
/// the identity when that block is singular.
std::array<float, 9> NormalMatrix(const TMatrix4& modelview);
/// m x (x, y, z, w).
std::array<float, 4> TransformPoint(const TMatrix4& m, float x, float y, float z, float w);

} // namespace lumidor::web
