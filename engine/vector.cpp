#include "vector.h"

#include <cmath>

namespace lumidor {

TVector3 MakeVector(float x, float y, float z) {
    return TVector3{x, y, z};
}

float VectorLength(const TVector3& v) {
    const double squared = double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z;
    return float(std::sqrt(squared));
}

void Normalize(TVector3& v) {
    const float length = VectorLength(v);
    const float divisor = length == 0.0f ? 1.0f : length;
    v.x /= divisor;
    v.y /= divisor;
    v.z /= divisor;
}

TVector3 VectorSub(const TVector3& a, const TVector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

TVector3 VectorAdd(const TVector3& a, const TVector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

TVector3 CrossProduct(const TVector3& a, const TVector3& b) {
    return {float(double(a.y) * b.z - double(a.z) * b.y), float(double(a.z) * b.x - double(a.x) * b.z),
            float(double(a.x) * b.y - double(a.y) * b.x)};
}

float DotProduct(const TVector3& a, const TVector3& b) {
    return float(double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
}

float Distance(const TVector3& a, const TVector3& b) {
    return VectorLength(VectorSub(a, b));
}

TVector3 TriangleNormal(const TVector3& p0, const TVector3& p1, const TVector3& p2) {
    TVector3 normal = CrossProduct(VectorSub(p0, p1), VectorSub(p1, p2));
    Normalize(normal);
    return normal;
}

} // namespace lumidor
