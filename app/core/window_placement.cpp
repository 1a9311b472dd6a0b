#include "app/core/window_placement.h"

#include <algorithm>

namespace lumidor {

TUiRect FitInside(const TUiRect& viewport, const TUiRect& wanted) {
    TUiRect fitted = wanted;
    fitted.Width = std::min(wanted.Width, viewport.Width);
    fitted.Height = std::min(wanted.Height, viewport.Height);
    fitted.X = std::max(std::min(wanted.X, viewport.X + viewport.Width - fitted.Width), viewport.X);
    fitted.Y = std::max(std::min(wanted.Y, viewport.Y + viewport.Height - fitted.Height), viewport.Y);
    return fitted;
}

float ListHeight(int rows, int maxRows, float rowHeight) {
    return static_cast<float>(1 + std::clamp(rows, 1, std::max(maxRows, 1))) * rowHeight;
}

} // namespace lumidor
