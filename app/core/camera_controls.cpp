// Mouse and keys on the orbit camera (camera_controls.h).

#include "app/core/camera_controls.h"

#include "app/core/orbit_camera.h"

#include <imgui.h>

namespace lumidor {

void HandleCameraInput() {
    const ImGuiIO& io = ImGui::GetIO();
    // A drag that starts on a window belongs to it for as long as the button is held, and one that
    // starts on the picture stays the camera's over windows (ImGui's capture rules).
    if (io.WantCaptureMouse || ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId)) return;
    const auto dragging = [](ImGuiMouseButton button) {
        return ImGui::IsMouseDown(button) && !ImGui::IsMouseClicked(button);
    };
    if (dragging(ImGuiMouseButton_Middle) || (io.KeyAlt && dragging(ImGuiMouseButton_Left)))
        TurnOrbitCamera(CurrentCamera, io.MouseDelta.x, io.MouseDelta.y);
    if (io.MouseWheel != 0.0f) ZoomOrbitCamera(CurrentCamera, io.MouseWheel);
}

void CameraKey(TAppKey key) {
    if (key == TAppKey::Home) ResetOrbitCamera(CurrentCamera);
}

} // namespace lumidor
