#include "app/desktop/display_check.h"

#include <cstdlib>

namespace lumidor {

namespace {

bool IsSet(const char* variable) {
    return variable != nullptr && *variable != '\0';
}

} // namespace

TDisplayEnvironment ReadDisplayEnvironment() {
    TDisplayEnvironment environment;
    environment.VideoDriver = std::getenv("SDL_VIDEODRIVER");
    environment.Display = std::getenv("DISPLAY");
    environment.WaylandDisplay = std::getenv("WAYLAND_DISPLAY");
    environment.RuntimeDir = std::getenv("XDG_RUNTIME_DIR");
    return environment;
}

bool UserChoseVideoDriver(const TDisplayEnvironment& environment) {
    return IsSet(environment.VideoDriver);
}

std::string DisplayDriversToTry(const TDisplayEnvironment& environment) {
    if (UserChoseVideoDriver(environment)) return {};
    std::string drivers;
    if (IsSet(environment.Display)) drivers += "x11,";
    // Without a runtime folder there is no compositor socket to find, and the Wayland library would
    // only complain about the missing folder.
    if (IsSet(environment.WaylandDisplay) || IsSet(environment.RuntimeDir)) drivers += "wayland,";
    return drivers + "KMSDRM";
}

std::string NoDisplayText(const TDisplayEnvironment& environment) {
    std::string text;
    if (IsSet(environment.Display) && IsSet(environment.WaylandDisplay)) {
        text = "cannot open a window on the display \"" + std::string(environment.Display) +
               "\" (DISPLAY) nor on \"" + environment.WaylandDisplay + "\" (WAYLAND_DISPLAY)";
    } else if (IsSet(environment.Display)) {
        text = "cannot open a window on the display \"" + std::string(environment.Display) + "\" (DISPLAY)";
    } else if (IsSet(environment.WaylandDisplay)) {
        text = "cannot open a window on the Wayland display \"" + std::string(environment.WaylandDisplay) +
               "\" (WAYLAND_DISPLAY)";
    } else {
        text = "there is no display to open a window on: DISPLAY and WAYLAND_DISPLAY are not set";
    }
    return text + ". Run it in a desktop session or under xvfb-run; SDL_VIDEODRIVER=offscreen draws "
                  "without a display.";
}

} // namespace lumidor
