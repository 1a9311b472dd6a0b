#include "app/core/ui_item_rects.h"

#include <imgui.h>

#include <map>

namespace lumidor {

namespace {

std::map<std::string, TItemRect>& ItemRects() {
    static std::map<std::string, TItemRect> rects;
    return rects;
}

} // namespace

void NoteLastItem(const std::string& name) {
    const ImVec2 min = ImGui::GetItemRectMin();
    const ImVec2 max = ImGui::GetItemRectMax();
    ItemRects()[name] = TItemRect{min.x, min.y, max.x, max.y, ImGui::GetFrameCount()};
}

std::optional<TItemRect> FindItemRect(const std::string& name) {
    const auto found = ItemRects().find(name);
    if (found == ItemRects().end()) return std::nullopt;
    return found->second;
}

bool ItemShownInLastFrame(const std::string& name) {
    const std::optional<TItemRect> rect = FindItemRect(name);
    return rect && ImGui::GetCurrentContext() && rect->Frame == ImGui::GetFrameCount();
}

} // namespace lumidor
