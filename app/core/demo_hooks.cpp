#include "app/core/demo_hooks.h"

#include "app/core/camera_controls.h"
#include "app/core/debug_tools.h"
#include "app/core/debug_windows.h"
#include "app/core/demo_windows.h"
#include "app/core/effect_menu.h"
#include "app/core/effect_names.h"
#include "app/core/effect_pass.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/menu_hint.h"
#include "app/core/timeline_control.h"
#include "app/core/timeline_window.h"
#include "app/core/window_arrangement_ui.h"
#include "app/core/window_placement.h"

namespace lumidor {

TAppHooks MakeDemoHooks(const THostServices& host) {
    TAppHooks hooks;
    hooks.EffectsStartup = &RunEffectsStartup;
    hooks.EffectPass = [](const TFrameView& view) {
        // A seek runs first, outside the statistics: they describe the frame that is drawn.
        const TTimelineFrame frame = BeginTimelineFrame();
        BeginDebugView(frame.Still);
        BeginEffectPassStatistics();
        RunEffectPass(view, frame.Still);
        EndEffectPassStatistics();
        EndDebugView();
        DrawDebugGizmos(); // over the banner, in the pixel projection it leaves
        EndTimelineFrame();
    };
    hooks.Ui = [](const TFrameView&) {
        KeepWindowsInside(); // before any window is drawn, so that none is drawn outside
        HandleInspectorClick();
        HandleCameraInput();
        DrawPopupMenu1();
        UpdateWindowArrangement(); // after the menu, so that a window it opens takes its place at once
        DrawDemoWindows();
        DrawMenuHint();
    };
    hooks.FileDropped = &PlayDroppedFile;
    hooks.KeyPressed = [](TAppKey key) {
        TimelineKey(key);
        CameraKey(key);
    };
    hooks.FrameDone = &EndFrameStatistics;
    hooks.Shutdown = &RemoveDebugTools;
    hooks.TakeCloseRequest = &TakeCloseRequest;
    hooks.TakeClockRestart = &TakeFrameClockRestart;
    hooks.CaptionStatus = &CaptionStatusText;
    InstallDebugTools(host.ClockMs);
    return hooks;
}

} // namespace lumidor
