#include "app/desktop/soak.h"

#include "app/core/effects_startup.h"
#include "app/desktop/gl_debug.h"
#include "app/desktop/main_window.h"
#include "effects/effect_slots.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

// LeakSanitizer's in-process check; linked only into sanitizer builds, null otherwise.
extern "C" int __lsan_do_recoverable_leak_check() __attribute__((weak));

namespace lumidor {

namespace {

double SecondsSince(Uint64 start) {
    return static_cast<double>(SDL_GetPerformanceCounter() - start) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

} // namespace

TMemoryUse ReadMemoryUse() {
    TMemoryUse use;
    // statm: total and resident size in pages; status: VmHWM, the peak resident size in kB.
    std::ifstream statm("/proc/self/statm");
    long long totalPages = 0, residentPages = 0;
    if (statm >> totalPages >> residentPages)
        use.ResidentMiB = static_cast<double>(residentPages) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
                          (1024.0 * 1024.0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            use.PeakMiB = std::stod(line.substr(6)) / 1024.0;
            break;
        }
    }
    return use;
}

std::string SoakLine(long long cycles, long long frames, double firstCycleMiB, double endMiB,
                     double peakMiB) {
    char line[240];
    if (cycles >= 2) {
        std::snprintf(line, sizeof line,
                      "soak: %lld cycles, %lld frames, RSS %.0f -> %.0f MiB (peak %.0f MiB)\n", cycles,
                      frames, firstCycleMiB, endMiB, peakMiB);
    } else {
        std::snprintf(line, sizeof line,
                      "soak: %lld %s, %lld frames, RSS %.0f MiB at the end (peak %.0f MiB); comparing the "
                      "memory after the first cycle needs two cycles (--soak %d or more)\n",
                      cycles, cycles == 1 ? "cycle" : "cycles", frames, endMiB, peakMiB,
                      kSoakSecondsForTwoCycles);
    }
    return line;
}

void ReloadScripts() {
    for (std::size_t i = 0; i < Scripts.size(); ++i) {
        ReleaseScript(Scripts[i]);
        LoadScript(Scripts[i], ScriptFiles[i]);
    }
}

int RunSoak(TMainWindow& window, const TAppHooks& hooks, const TCommandLine& options) {
    const double seconds = options.Soak ? *options.Soak : 0;
    TFrameRequest request;
    request.FixedFrameTime = options.FixedFrameTime;
    const Uint64 start = SDL_GetPerformanceCounter();
    long long cycles = 0;
    long long frames = 0;
    double firstCycleMiB = 0.0;
    bool running = true;
    while (running) {
        ReloadScripts();
        bool complete = true;
        for (const TEffectSlot& entry : EffectMenu) {
            const bool lastSlot = &entry == &EffectMenu.back();
            CurrentEffect = entry.Slot;
            const Uint64 slotStart = SDL_GetPerformanceCounter();
            do {
                if (!PumpUnattendedEvents(window)) {
                    running = complete = false;
                    break;
                }
                DrawFrame(window, hooks, request);
                ++frames;
                if (options.GLDebug) CheckGLErrors("frame " + std::to_string(frames) + " of the soak");
            } while (SecondsSince(slotStart) < kSoakSecondsPerSlot);
            if (!running || (cycles > 0 && !lastSlot && SecondsSince(start) >= seconds)) {
                running = complete = false;
                break;
            }
        }
        if (!complete) break;
        ++cycles;
        if (cycles == 1) firstCycleMiB = ReadMemoryUse().ResidentMiB;
        running = SecondsSince(start) < seconds;
    }
    const TMemoryUse end = ReadMemoryUse();
    std::fputs(SoakLine(cycles, frames, firstCycleMiB, end.ResidentMiB, end.PeakMiB).c_str(), stdout);
    std::fflush(stdout);
    // In a sanitizer build the leaks are checked here, while the GL driver is still loaded: at exit its
    // libraries are unloaded and their leaks could no longer be told apart from ours by name.
    if (__lsan_do_recoverable_leak_check && __lsan_do_recoverable_leak_check() != 0) {
        std::fputs("soak: LeakSanitizer found leaks (reported above)\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace lumidor
