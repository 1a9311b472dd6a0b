#include "app/core/demo_windows.h"

#include "app/core/debug_windows.h"
#include "app/core/effect_menu.h"
#include "app/core/properties_window.h"
#include "app/core/script_log_window.h"
#include "app/core/timeline_window.h"

namespace lumidor {

const std::array<TDemoWindow, 5> DemoWindows = {{
    {"Properties", &Properties1Click, [] { DrawProperties(Properties); }},
    {"Script log", &ScriptLogClick, &DrawScriptLog},
    {"Statistics", &ShowStatisticsWindow, &DrawStatisticsWindow},
    {"Timeline", &TimelineClick, &DrawTimelineWindow},
    {nullptr, nullptr, &DrawParticleInspector},
}};

void DrawDemoWindows() {
    for (const TDemoWindow& window : DemoWindows)
        window.Draw();
}

} // namespace lumidor
