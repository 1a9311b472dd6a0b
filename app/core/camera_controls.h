#pragma once
// The user's hold on the orbit camera: a drag with the middle button (or the left one with Alt) turns
// it, the wheel zooms, the Home key and the menu's "Reset view" return to the classic view. Read from
// Dear ImGui's mouse, which every host feeds, and only when no window or menu takes the mouse.

#include "app/core/app_hooks.h"

namespace lumidor {

/// Turns and zooms CurrentCamera by this UI frame's drag and wheel over the picture; call once per UI
/// frame. The frame a button goes down only starts a drag, so the move to the press turns nothing.
void HandleCameraInput();

/// The Home key: CurrentCamera back to the classic view. Other keys are not the camera's.
void CameraKey(TAppKey key);

} // namespace lumidor
