// The GL half of the screen view: reading back the matrices and viewport a pass drew with.

#include "app/debug/screen_view.h"

#include "engine/gl_api.h"

namespace lumidor {

TScreenView CurrentScreenView() {
    TScreenView view;
    GL.GetFloatv(GL_PROJECTION_MATRIX, view.Projection);
    GL.GetFloatv(GL_MODELVIEW_MATRIX, view.Modelview);
    GLint viewport[4] = {};
    GL.GetIntegerv(GL_VIEWPORT, viewport);
    view.Width = viewport[2];
    view.Height = viewport[3];
    return view;
}

} // namespace lumidor
