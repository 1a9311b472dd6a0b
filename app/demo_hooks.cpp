#include "app/demo_hooks.h"

#include "app/effect_menu.h"
#include "app/effect_pass.h"
#include "app/effects_startup.h"
#include "app/live_scripts.h"
#include "app/properties_window.h"
#include "app/script_log_window.h"

namespace lumidor {

TAppHooks MakeDemoHooks() {
    TAppHooks hooks;
    hooks.EffectsStartup = &RunEffectsStartup;
    hooks.EffectPass = &RunEffectPass;
    hooks.Ui = [](const TFrameView&) {
        DrawPopupMenu1();
        DrawProperties(Properties);
        DrawScriptLog();
    };
    hooks.FileDropped = &PlayDroppedFile;
    return hooks;
}

} // namespace lumidor
