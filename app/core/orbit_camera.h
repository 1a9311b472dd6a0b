#pragma once
// The demo's orbit camera: the picture turned about the effect's centre (the origin) and moved nearer
// or farther. Plain state and the arithmetic of the controls (a drag turns, the wheel zooms, a reset
// returns to the classic view), with no GL and no input: the frame applies `CurrentCamera`
// (BeginDemoFrame) and the UI feeds it (HandleCameraInput). The default camera is the classic view,
// 5 units back and not turned, drawn with exactly the classic GL calls.

#include <optional>
#include <string>

namespace lumidor {

/// Where the camera looks at the origin from. The modelview is a translation by (0, 0, -Distance),
/// then a turn by Pitch about x, then by Yaw about y.
struct TOrbitCamera {
    float Yaw = 0.0f;      ///< degrees about y, in [-180, 180); positive turns the front to the right
    float Pitch = 0.0f;    ///< degrees about x, -89 to 89; positive looks from above
    float Distance = 5.0f; ///< units from the origin, 0.5 to 50
};

/// Limits of the camera: pitch stops short of the poles, where yaw would turn the picture about its
/// centre; distance stays in front of the near plane (0.05) and well inside the far one (100).
inline constexpr float MaxCameraPitch = 89.0f;
inline constexpr float MinCameraDistance = 0.5f;
inline constexpr float MaxCameraDistance = 50.0f;
/// Degrees a drag turns the camera per pixel of mouse movement, both ways.
inline constexpr float CameraDegreesPerPixel = 0.4f;
/// Factor of the distance per wheel step: a step towards the picture divides by it, one away multiplies.
inline constexpr float CameraZoomPerStep = 1.1f;

/// The camera the frames draw through; the default until the user turns or zooms, or --camera sets it.
extern TOrbitCamera CurrentCamera;

/// True for the classic view (the default camera), which the frame draws with the classic calls alone.
bool IsDefaultCamera(const TOrbitCamera& camera);

/// Turns by a mouse drag of (dx, dy) window pixels (x right, y down): right turns the front to the
/// right (yaw up), down tips the front down (pitch up), as if the picture were grabbed. Yaw wraps into
/// [-180, 180), pitch is clamped; a non-finite drag changes nothing.
void TurnOrbitCamera(TOrbitCamera& camera, float dx, float dy);

/// Zooms by wheel steps: positive (the wheel turned away from the user) comes nearer, dividing the
/// distance by CameraZoomPerStep per step; clamped to the distance limits. A non-finite value changes
/// nothing.
void ZoomOrbitCamera(TOrbitCamera& camera, float steps);

/// Back to the classic view (the "Reset view" entry and the Home key).
void ResetOrbitCamera(TOrbitCamera& camera);

/// `camera` brought within its limits: yaw wrapped into [-180, 180), pitch and distance clamped; a
/// non-finite field takes the default's value.
TOrbitCamera ClampOrbitCamera(TOrbitCamera camera);

/// Reads "YAW,PITCH,DISTANCE" (degrees, degrees, units; spaces around the numbers allowed), the
/// --camera value. Yaw is any finite number (wrapped), pitch -89 to 89, distance 0.5 to 50. On bad
/// input returns nothing and says why in `error` ("the pitch 95 is outside -89 to 89 degrees").
std::optional<TOrbitCamera> ParseCameraOption(const std::string& text, std::string& error);

} // namespace lumidor
