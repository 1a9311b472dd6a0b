#pragma once
// The view the demo draws through, written out independently of the GL state it comes from:
// gluPerspective(45, width / height, 0.05, 100) after a translation by (shiftX, 0, -5), or after the
// orbit camera's translation and turns.

#include "app/debug/screen_view.h"

#include <cmath>

namespace lumidor::testing {

inline TScreenView DemoCamera(int width = 800, int height = 600, float shiftX = 0.0f) {
    TScreenView view;
    const float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    const float nearPlane = 0.05f, farPlane = 100.0f;
    view.Projection[0] = f / (float(width) / float(height));
    view.Projection[5] = f;
    view.Projection[10] = (farPlane + nearPlane) / (nearPlane - farPlane);
    view.Projection[11] = -1.0f;
    view.Projection[14] = 2.0f * farPlane * nearPlane / (nearPlane - farPlane);
    for (int i = 0; i < 4; ++i)
        view.Modelview[i * 5] = 1.0f;
    view.Modelview[12] = shiftX;
    view.Modelview[14] = -5.0f;
    view.Width = width;
    view.Height = height;
    return view;
}

/// The view through an orbit camera: translated by (0, 0, -distance), then turned by `pitch` degrees
/// about x and `yaw` about y, the matrix product written out.
inline TScreenView OrbitDemoCamera(int width, int height, float yaw, float pitch, float distance) {
    TScreenView view = DemoCamera(width, height);
    const float toRadians = 3.14159265f / 180.0f;
    const float cy = std::cos(yaw * toRadians), sy = std::sin(yaw * toRadians);
    const float cp = std::cos(pitch * toRadians), sp = std::sin(pitch * toRadians);
    const float rows[3][3] = {{cy, 0.0f, sy}, {sp * sy, cp, -sp * cy}, {-cp * sy, sp, cp * cy}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            view.Modelview[column * 4 + row] = rows[row][column];
    view.Modelview[14] = -distance;
    return view;
}

} // namespace lumidor::testing
