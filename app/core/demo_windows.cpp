#include "app/core/demo_windows.h"

#include "app/core/debug_tools.h"
#include "app/core/debug_windows.h"
#include "app/core/effect_menu.h"
#include "app/core/properties_window.h"
#include "app/core/script_log_window.h"
#include "app/core/timeline_window.h"

namespace lumidor {

const std::array<TDemoWindow, 5> DemoWindows = {{
    {"Properties", &Properties1Click, [] { DrawProperties(Properties); }, [] { return Properties.Visible; },
     "Properties", TToolWindow::Properties},
    {"Script log", &ScriptLogClick, &DrawScriptLog, [] { return ScriptLogVisible; }, "Script log",
     TToolWindow::ScriptLog},
    {"Statistics", &ShowStatisticsWindow, &DrawStatisticsWindow, [] { return DebugTools.StatisticsVisible; },
     "Statistics", TToolWindow::Statistics},
    {"Timeline", &TimelineClick, &DrawTimelineWindow, [] { return TimelineVisible; }, "Timeline",
     TToolWindow::Timeline},
    {nullptr, nullptr, &DrawParticleInspector, [] { return DebugTools.Inspecting; }, "Particle inspector",
     TToolWindow::Inspector},
}};

void DrawDemoWindows() {
    for (const TDemoWindow& window : DemoWindows)
        window.Draw();
}

} // namespace lumidor
