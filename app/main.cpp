// lumidor-demo: the Lumidor particle engine demonstration.
// Top to bottom: initialise, the start-up steps (which create the main window), the frame loop, shut down.

#include "app/core/app_hooks.h"
#include "app/core/command_line.h"
#include "app/core/debug_tools.h"
#include "app/core/demo_hooks.h"
#include "app/core/effects_startup.h"
#include "app/core/emitter_path.h"
#include "app/core/live_scripts.h"
#include "app/core/orbit_camera.h"
#include "app/core/startup.h"
#include "app/core/timeline_control.h"
#include "app/desktop/benchmark.h"
#include "app/desktop/data_folder.h"
#include "app/desktop/display_check.h"
#include "app/desktop/display_config.h"
#include "app/desktop/display_mode.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/frame_timer.h"
#include "app/desktop/gl_debug.h"
#include "app/desktop/main_window.h"
#include "app/desktop/message_box.h"
#include "app/desktop/preflight.h"
#include "app/desktop/recording.h"
#include "app/desktop/soak.h"
#include "app/desktop/ui_layer.h"
#include "effects/frame_time.h"
#include "engine/message.h"
#include "engine/random.h"
#include "engine/task_runner.h"
#include "engine/tbb_task_runner.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fenv.h>
#include <filesystem>
#include <string>
#include <vector>

using namespace lumidor;

int main(int argc, char** argv) {
    // 1. Initialise: options, where messages go, masked floating-point exceptions, SDL on a display. Every
    //    failure a run can know of before its first frame ends it here, before the window opens.
    const TCommandLineResult commandLine = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.Action == TCommandLineAction::ShowHelp) {
        std::fputs(CommandLineUsage().c_str(), stdout);
        return 0;
    }
    if (commandLine.Action == TCommandLineAction::ListEffects) {
        std::fputs(EffectListText().c_str(), stdout);
        return 0;
    }
    if (commandLine.Action == TCommandLineAction::Fail) {
        std::fprintf(stderr, "lumidor-demo: %s\nTry 'lumidor-demo --help'.\n", commandLine.Error.c_str());
        return kExitBadCommandLine;
    }
    const TCommandLine& options = commandLine.Options;
    InstallMessageHandler(WantDialogs(options, std::getenv("LUMIDOR_NO_DIALOGS")));
    fedisableexcept(FE_ALL_EXCEPT);     // division by zero gives infinities, invalid operations NaN
    SetTaskRunner(MakeTbbTaskRunner()); // large particle systems are swept on every core
    // Only drivers of a real display, unless the user chose one: SDL would otherwise draw off-screen.
    const TDisplayEnvironment environment = ReadDisplayEnvironment();
    const std::string drivers = DisplayDriversToTry(environment);
    if (!drivers.empty()) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        if (!drivers.empty()) {
            std::fprintf(stderr, "lumidor-demo: %s\n", NoDisplayText(environment).c_str());
        } else {
            ShowMessage(std::string("Could not start SDL: ") + SDL_GetError(), kStartupErrorCaption,
                        TMessageIcon::Error);
        }
        return kExitRunFailed;
    }
    // The data: the working directory when it holds the demo's files (the classic start), else the
    // copy installed with the program.
    std::error_code folderError;
    const TDataFolder data =
        FindDataFolder(std::filesystem::current_path(folderError), ProgramFolder(), InstalledDataRelative());
    if (data.Installed) std::filesystem::current_path(data.Folder, folderError);
    if (data.Folder.empty() || folderError) {
        ShowMessage(DataNotFoundText(data), kStartupErrorCaption, TMessageIcon::Error);
        SDL_Quit();
        return kExitRunFailed;
    }
    // The files and folders the options name, from the working directory the run uses; then the
    // outputs are made ready. Each refusal says why.
    const std::vector<std::string> problems = CheckCommandLineFiles(options);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "lumidor-demo: %s\n", problem.c_str());
    bool ready = problems.empty();
    if (ready && !options.RecordFolder.empty()) ready = PrepareRecordFolder(options.RecordFolder);
    if (std::string error; ready && !options.StatsFile.empty() && !OpenStatsFile(options.StatsFile, error)) {
        std::fprintf(stderr, "lumidor-demo: --stats %s: %s\n", options.StatsFile.c_str(), error.c_str());
        ready = false;
    }
    if (!ready) {
        SDL_Quit();
        return kExitRunFailed;
    }

    // The demo core plugs in here: start-up, the effect pass with the logo banner, the menu and the
    // windows, timed on SDL's clock. Frames run them even when a start-up step has failed.
    THostServices host;
    host.ClockMs = &PerformanceMilliseconds;
    const TAppHooks hooks = MakeDemoHooks(host);

    // 2. Start-up steps; a failing step is shown and the rest are skipped. The window is created once the
    //    configuration is read, because SDL fixes the pixel format (the colour bits) with the window.
    TMainWindow window;
    TDisplayConfig config;
    RunStartupSteps({
        [&] { options.Seed ? SeedRandom(*options.Seed) : SeedRandomFromClock(); },
        [&] { config = ReadDisplayConfig(ChooseConfigPath(data, DisplayConfigPath())); },
        [&] { CreateMainWindow(window, config.DisplayBitsPerPixel); },
        [&] { ApplyDisplayConfig(window, config); },
        [&] {
            Start(window.FrameClock);
            FrameTime = window.FrameClock.Elapsed; // 0: start-up runs with no frame time
        },
        [&] { ActivateRenderContext(window); },
        [&] { EnableDefaultState(); },
        [&] {
            if (options.GLDebug) StartGLDebug(&SDL_GL_GetProcAddress);
        },
        [&] { window.UiReady = InitUi(window.Window, window.RenderContext); }, // effects run without it
        [&] {
            if (hooks.EffectsStartup) hooks.EffectsStartup();
        },
    });
    // Without a window or a usable context there is nothing to show; the reason has been shown.
    if (!window.GLReady) {
        CloseStatsFile();
        CloseMainWindow(window);
        SDL_Quit();
        return kExitRunFailed;
    }

    if (options.Effect) CurrentEffect = *options.Effect;
    if (options.Seed) Timeline.Seed = *options.Seed; // restarts and seeks repeat the run's particles
    // A person at the window: a long seek or prewarm goes on over several frames and the window answers.
    // Runs of a fixed number of frames, recordings, benchmarks and soaks do the work at once, so their
    // pictures do not depend on the machine's speed.
    if (!options.Frames && options.RecordFolder.empty() && !options.Benchmark && !options.Soak)
        TimelineWorkBudgetMs = DefaultTimelineWorkBudgetMs;
    if (options.EmitterPath) ChooseEmitterPath(*options.EmitterPath);
    if (options.Camera) CurrentCamera = *options.Camera;
    if (!options.ScriptFile.empty()) PlayScriptFile(options.ScriptFile); // the script is the effect shown

    // 3. Show the window and draw frames until it closes (or run every effect and print the timings).
    ShowMainWindow(window);
    int status = options.Benchmark ? RunBenchmark(window, hooks, options)
                 : options.Soak    ? RunSoak(window, hooks, options)
                                   : RunFrameLoop(window, hooks, options);
    if (options.GLDebug && (CheckGLErrors("the last frame") > 0 || GLDebugErrorCount() > 0))
        status = kGLErrorExitStatus;

    // 4. Shut down: effects, UI, then the context is released and the display mode restored.
    if (hooks.Shutdown) hooks.Shutdown();
    const bool statsWritten = CloseStatsFile();
    if (window.UiReady) ShutdownUi();
    CloseMainWindow(window);
    SDL_Quit();
    return status != 0 ? status : (statsWritten ? 0 : kExitRunFailed);
}
