// The orbit camera's state and the arithmetic of its controls (orbit_camera.h).

#include "app/core/orbit_camera.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lumidor {

TOrbitCamera CurrentCamera;

namespace {

// Into [-180, 180); angles already there come back unchanged, bit for bit.
float WrapDegrees(float degrees) {
    if (degrees >= -180.0f && degrees < 180.0f) return degrees;
    double wrapped = double(degrees) - 360.0 * std::floor((double(degrees) + 180.0) / 360.0);
    if (wrapped >= 180.0) wrapped -= 360.0; // rounding at the upper edge
    return static_cast<float>(wrapped);
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A whole finite decimal number and nothing else.
bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

bool IsDefaultCamera(const TOrbitCamera& camera) {
    const TOrbitCamera classic;
    return camera.Yaw == classic.Yaw && camera.Pitch == classic.Pitch && camera.Distance == classic.Distance;
}

TOrbitCamera ClampOrbitCamera(TOrbitCamera camera) {
    const TOrbitCamera classic;
    camera.Yaw = std::isfinite(camera.Yaw) ? WrapDegrees(camera.Yaw) : classic.Yaw;
    camera.Pitch =
        std::isnan(camera.Pitch) ? classic.Pitch : std::clamp(camera.Pitch, -MaxCameraPitch, MaxCameraPitch);
    camera.Distance = std::isnan(camera.Distance)
                          ? classic.Distance
                          : std::clamp(camera.Distance, MinCameraDistance, MaxCameraDistance);
    return camera;
}

void TurnOrbitCamera(TOrbitCamera& camera, float dx, float dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    camera.Yaw += dx * CameraDegreesPerPixel;
    camera.Pitch += dy * CameraDegreesPerPixel;
    camera = ClampOrbitCamera(camera);
}

void ZoomOrbitCamera(TOrbitCamera& camera, float steps) {
    if (!std::isfinite(steps) || steps == 0.0f) return;
    // A huge number of steps gives an infinite or zero factor, which the clamp turns into a limit.
    camera.Distance =
        static_cast<float>(double(camera.Distance) / std::pow(double(CameraZoomPerStep), steps));
    camera = ClampOrbitCamera(camera);
}

void ResetOrbitCamera(TOrbitCamera& camera) {
    camera = TOrbitCamera{};
}

std::optional<TOrbitCamera> ParseCameraOption(const std::string& text, std::string& error) {
    if (Trimmed(text).empty()) {
        error = "the value is empty";
        return std::nullopt;
    }
    std::string parts[3];
    std::size_t count = 0, start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? comma : comma - start);
        if (count < 3) parts[count] = Trimmed(part);
        ++count;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (count != 3) {
        error = "three numbers separated by commas are needed, " + std::to_string(count) +
                (count == 1 ? " was given" : " were given");
        return std::nullopt;
    }
    const char* names[3] = {"yaw", "pitch", "distance"};
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (parts[i].empty()) {
            error = std::string("the ") + names[i] + " is missing";
            return std::nullopt;
        }
        if (!ParseNumber(parts[i], values[i])) {
            error = std::string("the ") + names[i] + " \"" + parts[i] + "\" is not a finite number";
            return std::nullopt;
        }
    }
    if (values[1] < -MaxCameraPitch || values[1] > MaxCameraPitch) {
        error = "the pitch " + parts[1] + " is outside -" + Number(MaxCameraPitch) + " to " +
                Number(MaxCameraPitch) + " degrees";
        return std::nullopt;
    }
    if (values[2] < MinCameraDistance || values[2] > MaxCameraDistance) {
        error = "the distance " + parts[2] + " is outside " + Number(MinCameraDistance) + " to " +
                Number(MaxCameraDistance);
        return std::nullopt;
    }
    // A yaw beyond a float's range is finite as a double; it wraps like any other.
    TOrbitCamera camera;
    camera.Yaw = static_cast<float>(std::fmod(values[0], 360.0));
    camera.Pitch = static_cast<float>(values[1]);
    camera.Distance = static_cast<float>(values[2]);
    error.clear();
    return ClampOrbitCamera(camera);
}

} // namespace lumidor
