#include "app/core/menu_hint.h"

#include "app/core/timeline_control.h"
#include "app/core/window_placement.h"

#include <imgui.h>

namespace lumidor {

bool MenuOpenedOnce = false;

bool MenuHintShown(bool interactiveRun, bool menuOpenedBefore) {
    return interactiveRun && !menuOpenedBefore;
}

void DrawMenuHint() {
    if (!MenuHintShown(TimelineWorkBudgetMs > 0.0, MenuOpenedOnce)) return;
    const TUiRect viewport = UiViewport();
    const ImVec2 size = ImGui::CalcTextSize(MenuHintText);
    const ImVec2 at(viewport.X + 0.5f * (viewport.Width - size.x),
                    viewport.Y + viewport.Height - size.y - 24.0f);
    // On the picture, behind the windows; a shadow keeps it readable over bright particles.
    ImDrawList* drawList = ImGui::GetBackgroundDrawList();
    drawList->AddText(ImVec2(at.x + 1.0f, at.y + 1.0f), IM_COL32(0, 0, 0, 200), MenuHintText);
    drawList->AddText(at, IM_COL32(230, 230, 230, 230), MenuHintText);
}

} // namespace lumidor
