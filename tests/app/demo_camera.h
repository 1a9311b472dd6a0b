#pragma once
// The view the demo draws through, written out independently of the GL state it comes from:
// gluPerspective(45, width / height, 0.05, 100) after a translation by (shiftX, 0, -5).

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

} // namespace lumidor::testing
