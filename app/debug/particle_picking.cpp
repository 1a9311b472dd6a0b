#include "app/debug/particle_picking.h"

#include "engine/particle_step_breakdown.h"

#include <cmath>

namespace lumidor {

void RequestPick(TPick& pick, float x, float y) {
    pick.Pending = true;
    pick.X = x;
    pick.Y = y;
}

void StartPickSearch(TPick& pick) {
    if (!pick.Pending) return;
    pick.BestDistance = kPickRadius;
    pick.Best = nullptr;
    pick.BestIndex = -1;
    pick.BestView = TScreenView{};
}

void ConsiderForPick(TPick& pick, const TParticleEffectContainer& container, const TScreenView& view) {
    if (!pick.Pending) return;
    const std::int32_t count = ParticleCount(container);
    for (std::int32_t i = 0; i < count; ++i) {
        float x = 0, y = 0;
        if (!ProjectToWindow(view, ReadParticle(container, i).Position, x, y)) continue;
        const float distance = std::hypot(x - pick.X, y - pick.Y);
        if (distance < pick.BestDistance) {
            pick.BestDistance = distance;
            pick.Best = &container;
            pick.BestIndex = i;
        }
    }
    // A system drawn again later in the effect pass is seen in its latest view.
    if (pick.Best == &container) pick.BestView = view;
}

} // namespace lumidor
