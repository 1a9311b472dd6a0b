#include "app/demo_hooks.h"

#include "app/debug_tools.h"
#include "app/debug_windows.h"
#include "app/effect_menu.h"
#include "app/effect_pass.h"
#include "app/effects_startup.h"
#include "app/live_scripts.h"
#include "app/properties_window.h"
#include "app/script_log_window.h"
#include "app/window_placement.h"

namespace lumidor {

TAppHooks MakeDemoHooks() {
    TAppHooks hooks;
    hooks.EffectsStartup = &RunEffectsStartup;
    hooks.EffectPass = [](const TFrameView& view) {
        BeginEffectPassStatistics();
        RunEffectPass(view);
        EndEffectPassStatistics();
    };
    hooks.Ui = [](const TFrameView&) {
        KeepWindowsInside(); // before any window is drawn, so that none is drawn outside
        HandleInspectorClick();
        DrawPopupMenu1();
        DrawProperties(Properties);
        DrawScriptLog();
        DrawStatisticsWindow();
        DrawParticleInspector();
    };
    hooks.FileDropped = &PlayDroppedFile;
    hooks.FrameDone = &EndFrameStatistics;
    hooks.Shutdown = &RemoveDebugTools;
    InstallDebugTools();
    return hooks;
}

} // namespace lumidor
