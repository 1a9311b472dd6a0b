#include "app/core/demo_hooks.h"

#include "app/core/debug_tools.h"
#include "app/core/debug_windows.h"
#include "app/core/demo_windows.h"
#include "app/core/effect_menu.h"
#include "app/core/effect_pass.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/window_placement.h"

namespace lumidor {

TAppHooks MakeDemoHooks(const THostServices& host) {
    TAppHooks hooks;
    hooks.EffectsStartup = &RunEffectsStartup;
    hooks.EffectPass = [](const TFrameView& view) {
        BeginDebugView();
        BeginEffectPassStatistics();
        RunEffectPass(view);
        EndEffectPassStatistics();
        EndDebugView();
        DrawDebugGizmos(); // over the banner, in the pixel projection it leaves
    };
    hooks.Ui = [](const TFrameView&) {
        KeepWindowsInside(); // before any window is drawn, so that none is drawn outside
        HandleInspectorClick();
        DrawPopupMenu1();
        DrawDemoWindows();
    };
    hooks.FileDropped = &PlayDroppedFile;
    hooks.FrameDone = &EndFrameStatistics;
    hooks.Shutdown = &RemoveDebugTools;
    hooks.TakeCloseRequest = &TakeCloseRequest;
    InstallDebugTools(host.ClockMs);
    return hooks;
}

} // namespace lumidor
