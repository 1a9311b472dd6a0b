#include "app/core/window_arrangement.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumidor {

namespace {

// Collapsed first when the column is short: the sliders are the least looked at while an effect is
// studied, the timeline the most.
constexpr std::array<TToolWindow, 5> CollapseOrder = {TToolWindow::Properties, TToolWindow::ScriptLog,
                                                      TToolWindow::Statistics, TToolWindow::Inspector,
                                                      TToolWindow::Timeline};

// Given the room their content does not take, in this order of preference.
constexpr std::array<TToolWindow, 2> Growers = {TToolWindow::ScriptLog, TToolWindow::Inspector};

} // namespace

float ColumnWidth(float viewportWidth) {
    const float width = std::clamp(0.32f * viewportWidth, 240.0f, 420.0f);
    return std::max(0.0f, std::min(width, viewportWidth - 2.0f * ColumnMargin));
}

std::vector<TColumnPlace> ArrangeColumn(const TUiRect& viewport, const std::vector<TColumnRequest>& open,
                                        float titleBarHeight) {
    std::vector<TColumnRequest> column = open;
    std::sort(column.begin(), column.end(),
              [](const TColumnRequest& a, const TColumnRequest& b) { return a.Window < b.Window; });
    const std::size_t count = column.size();
    std::vector<TColumnPlace> places(count);
    if (count == 0) return places;

    const float room = viewport.Height - 2.0f * ColumnMargin - ColumnMargin * float(count - 1);
    std::vector<float> wanted(count), least(count);
    for (std::size_t k = 0; k < count; ++k) {
        places[k].Window = column[k].Window;
        least[k] = std::max(column[k].MinHeight, titleBarHeight);
        wanted[k] = std::max(column[k].WantedHeight, least[k]);
    }
    const auto needed = [&](const std::vector<float>& heights) {
        float sum = 0.0f;
        for (std::size_t k = 0; k < count; ++k)
            sum += places[k].Collapsed ? titleBarHeight : heights[k];
        return sum;
    };

    std::vector<float> heights(count);
    if (needed(wanted) <= room) {
        heights = wanted;
        float spare = room - needed(wanted);
        for (const TToolWindow grower : Growers) {
            for (std::size_t k = 0; k < count && spare > 0.0f; ++k) {
                if (places[k].Window != grower) continue;
                heights[k] += spare;
                spare = 0.0f;
            }
        }
    } else {
        for (const TToolWindow candidate : CollapseOrder) {
            if (needed(least) <= room) break;
            for (std::size_t k = 0; k < count; ++k)
                if (places[k].Window == candidate) places[k].Collapsed = true;
        }
        // What is left beyond the least heights, shared by what each wants beyond its least.
        const float spare = std::max(0.0f, room - needed(least));
        float beyond = 0.0f;
        for (std::size_t k = 0; k < count; ++k)
            if (!places[k].Collapsed) beyond += wanted[k] - least[k];
        for (std::size_t k = 0; k < count; ++k) {
            heights[k] = places[k].Collapsed ? titleBarHeight : least[k];
            if (!places[k].Collapsed &&
                beyond > 0.0f) // whole pixels, so the shares never add up past the room
                heights[k] +=
                    std::floor(std::min(wanted[k] - least[k], spare * (wanted[k] - least[k]) / beyond));
        }
    }

    const float width = ColumnWidth(viewport.Width);
    float y = viewport.Y + ColumnMargin;
    for (std::size_t k = 0; k < count; ++k) {
        places[k].Rect = {viewport.X + ColumnMargin, y, width, heights[k]};
        y += heights[k] + ColumnMargin;
    }
    return places;
}

} // namespace lumidor
