#include "app/debug/screen_view.h"

#include <cmath>

namespace lumidor {

namespace {

// Column-major matrix times (x, y, z, 1).
void Transform(const float m[16], const float in[4], float out[4]) {
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
}

} // namespace

bool ProjectToWindow(const TScreenView& view, const TVector3& point, float& x, float& y) {
    const float world[4] = {point.x, point.y, point.z, 1.0f};
    float eye[4], clip[4];
    Transform(view.Modelview, world, eye);
    Transform(view.Projection, eye, clip);
    if (!(clip[3] > 1e-6f)) return false;
    const float ndcX = clip[0] / clip[3];
    const float ndcY = clip[1] / clip[3];
    x = (ndcX + 1.0f) * 0.5f * float(view.Width);
    y = (1.0f - ndcY) * 0.5f * float(view.Height);
    return std::isfinite(x) && std::isfinite(y);
}

} // namespace lumidor
