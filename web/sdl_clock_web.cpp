// SDL's high-resolution clock for app code that reads it (the debug tools' timings), on the page's
// clock: there is no SDL on the web, and emscripten's own SDL headers are of SDL 1.2.

#include <emscripten.h>

#include <cstdint>

extern "C" {

/// Microseconds since the page started.
std::uint64_t SDL_GetPerformanceCounter(void) {
    return std::uint64_t(emscripten_get_now() * 1000.0);
}

std::uint64_t SDL_GetPerformanceFrequency(void) {
    return 1000000;
}

} // extern "C"
