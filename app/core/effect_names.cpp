#include "app/core/effect_names.h"

#include "app/core/caption.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/timeline_control.h"
#include "effects/effect_slots.h"

#include <algorithm>

namespace lumidor {

std::string DisplayFileName(std::string_view file) {
    std::string shown(file);
    std::replace(shown.begin(), shown.end(), '\\', '/');
    return shown;
}

std::string ShortFileName(std::string_view file) {
    const std::size_t separator = file.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? file : file.substr(separator + 1));
}

std::string ScriptSystemName(std::size_t type, bool earlierVersion) {
    return "type " + std::to_string(type) + (earlierVersion ? " (earlier version)" : "");
}

std::string EffectName(int slot) {
    if (slot >= FirstPlayedSlot) {
        const std::size_t played = std::size_t(slot - FirstPlayedSlot);
        return played < PlayedScripts.size() ? ShortFileName(PlayedScripts[played].Live.File) : std::string();
    }
    return EffectSlotCaption(slot);
}

std::string CaptionStatusText() {
    return JoinCaptionStatus(EffectName(CurrentEffect), TimelineWorkText());
}

} // namespace lumidor
