#pragma once

namespace lumidor {

/// Three 32-bit floats: a point or direction (y up), a colour (x red, y green, z blue in 0..1)
/// or a triple of per-axis factors. A zero-initialised vector is (0, 0, 0).
struct TVector3 {
    float x = 0.0f; ///< x, or red
    float y = 0.0f; ///< y (up), or green
    float z = 0.0f; ///< z, or blue
};

/// The vector (x, y, z).
TVector3 MakeVector(float x, float y, float z);
/// Euclidean length, never negative.
float VectorLength(const TVector3& v);
/// Scales v to unit length in place; the zero vector stays zero (divisor 1 instead of 0).
void Normalize(TVector3& v);
/// a - b.
TVector3 VectorSub(const TVector3& a, const TVector3& b);
/// a + b.
TVector3 VectorAdd(const TVector3& a, const TVector3& b);
/// a x b (right-handed).
TVector3 CrossProduct(const TVector3& a, const TVector3& b);
/// a . b.
float DotProduct(const TVector3& a, const TVector3& b);
/// Length of a - b; symmetric.
float Distance(const TVector3& a, const TVector3& b);
/// Unit normal of the triangle p0, p1, p2 from (p0 - p1) x (p1 - p2); (0, 1, 0) for a flat cell
/// walked as (x, z), (x, z + 1), (x + 1, z + 1). Collinear points give (0, 0, 0).
TVector3 TriangleNormal(const TVector3& p0, const TVector3& p1, const TVector3& p2);

} // namespace lumidor
