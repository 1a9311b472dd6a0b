#pragma once
// How a particle pass projected world points onto the window: its matrices and viewport, captured from
// the GL state after the pass (screen_view_gl.cpp), and the projection of a point to a window pixel.
// Everything that works on window pixels (picking, gizmos, the inspected particle's mark) starts here.

#include "engine/vector.h"

namespace lumidor {

/// How a pass projected world points: its projection and modelview and the viewport.
struct TScreenView {
    float Projection[16] = {}; ///< column-major, as glGetFloatv gives it
    float Modelview[16] = {};  ///< column-major
    int Width = 0;             ///< viewport in pixels; 0 for a view never captured
    int Height = 0;
};

/// Window pixel of a world point (origin top-left, y down); false when it lies behind the camera.
bool ProjectToWindow(const TScreenView& view, const TVector3& point, float& x, float& y);

/// The projection, modelview and viewport of the current GL state (needs the GL table).
TScreenView CurrentScreenView();

} // namespace lumidor
