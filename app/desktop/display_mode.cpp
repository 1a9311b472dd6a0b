#include "app/desktop/display_mode.h"

#include "app/desktop/main_window.h"
#include "engine/message.h"

#include <SDL.h>

#include <algorithm>

namespace lumidor {

namespace {

int WindowDisplay(SDL_Window* window) {
    return std::max(SDL_GetWindowDisplayIndex(window), 0);
}

// The modes the display lists, in SDL's order.
std::vector<SDL_DisplayMode> ListedModes(int display) {
    std::vector<SDL_DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(display);
    for (int index = 0; index < count; ++index) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, index, &mode) == 0) modes.push_back(mode);
    }
    return modes;
}

// The colour depth counts the bits each pixel occupies, as a display-mode request counts it: 8-bit RGB
// padded to 4 bytes is 32 bits.
TOfferedMode Offered(const SDL_DisplayMode& mode) {
    return {mode.w, mode.h, int(SDL_BYTESPERPIXEL(mode.format)) * 8, mode.refresh_rate};
}

} // namespace

std::optional<std::size_t> FindOfferedMode(const std::vector<TOfferedMode>& offered, std::uint16_t width,
                                           std::uint16_t height, std::uint16_t bitsPerPixel,
                                           std::uint16_t frequency) {
    for (std::size_t index = 0; index < offered.size(); ++index) {
        const TOfferedMode& mode = offered[index];
        if (mode.Width == width && mode.Height == height && mode.BitsPerPixel == bitsPerPixel &&
            (frequency == 0 || mode.RefreshRate == frequency))
            return index;
    }
    return std::nullopt;
}

std::string DisplayConfigPath() {
    char* folder = SDL_GetBasePath(); // ends with the separator
    if (!folder) return {};
    std::string path = std::string(folder) + "config.ini";
    SDL_free(folder);
    return path;
}

void ApplyDisplayConfig(TMainWindow& window, const TDisplayConfig& config) {
    if (config.DisplayFullscreen) {
        // Only the low 16 bits of each value reach the display-mode request.
        SwitchToFullscreen(window, static_cast<std::uint16_t>(config.DisplayWidth),
                           static_cast<std::uint16_t>(config.DisplayHeight),
                           static_cast<std::uint16_t>(config.DisplayBitsPerPixel),
                           static_cast<std::uint16_t>(config.DisplayFrequency));
        return;
    }
    // A window can be neither empty nor larger than the display (a window of the configured size could
    // otherwise ask the renderer for gigabytes of frame buffer).
    int width = config.DisplayWidth > 0 ? config.DisplayWidth : kInitialWindowWidth;
    int height = config.DisplayHeight > 0 ? config.DisplayHeight : kInitialWindowHeight;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(WindowDisplay(window.Window), &bounds) == 0) {
        width = std::min(width, bounds.w);
        height = std::min(height, bounds.h);
    }
    if (width != config.DisplayWidth || height != config.DisplayHeight) {
        ShowMessage("The window size " + std::to_string(config.DisplayWidth) + " x " +
                        std::to_string(config.DisplayHeight) +
                        " in config.ini cannot be used; the window is " + std::to_string(width) + " x " +
                        std::to_string(height) + " instead.",
                    "Display configuration", TMessageIcon::Warning);
    }
    window.WantedOuterWidth = width;
    window.WantedOuterHeight = height;
    // The frame is unknown until the window is shown; FitOuterSize then takes it off.
    SDL_SetWindowSize(window.Window, width, height);
    SDL_SetWindowPosition(window.Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void SwitchToFullscreen(TMainWindow& window, std::uint16_t width, std::uint16_t height,
                        std::uint16_t bitsPerPixel, std::uint16_t frequency) {
    window.WantedOuterWidth = window.WantedOuterHeight = 0;
    SDL_MaximizeWindow(window.Window);
    SDL_SetWindowBordered(window.Window, SDL_FALSE);
    // Without a window manager nothing maximises a window, so give it the usable desktop ourselves.
    SDL_Rect desktop;
    if (SDL_GetDisplayUsableBounds(WindowDisplay(window.Window), &desktop) == 0) {
        SDL_SetWindowPosition(window.Window, desktop.x, desktop.y);
        SDL_SetWindowSize(window.Window, desktop.w, desktop.h);
    }

    // Only a mode the display offers exactly; any other request passes silently on the current mode.
    const std::vector<SDL_DisplayMode> modes = ListedModes(WindowDisplay(window.Window));
    std::vector<TOfferedMode> offered(modes.size());
    std::transform(modes.begin(), modes.end(), offered.begin(), Offered);
    const std::optional<std::size_t> found = FindOfferedMode(offered, width, height, bitsPerPixel, frequency);
    if (!found) return;
    // SDL switches the mode when a full-screen window is shown, so show it now to learn the outcome.
    SDL_ShowWindow(window.Window);
    if (SDL_SetWindowDisplayMode(window.Window, &modes[*found]) != 0 ||
        SDL_SetWindowFullscreen(window.Window, SDL_WINDOW_FULLSCREEN) != 0) {
        ShowMessage(kFullscreenFailedText, "Error", TMessageIcon::Error);
        return;
    }
    window.DisplayModeSwitched = true;
}

void FitOuterSize(TMainWindow& window) {
    if (window.WantedOuterWidth <= 0 || window.WantedOuterHeight <= 0) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window.Window, &top, &left, &bottom, &right) != 0) return; // no frame known
    if (top + bottom == 0 && left + right == 0) return;
    SDL_SetWindowSize(window.Window, std::max(window.WantedOuterWidth - left - right, 1),
                      std::max(window.WantedOuterHeight - top - bottom, 1));
    SDL_SetWindowPosition(window.Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void RestoreDisplayMode(TMainWindow& window) {
    if (!window.DisplayModeSwitched) return;
    SDL_SetWindowFullscreen(window.Window, 0);
    window.DisplayModeSwitched = false;
}

} // namespace lumidor
