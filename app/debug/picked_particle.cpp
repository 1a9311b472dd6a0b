#include "app/debug/picked_particle.h"

namespace lumidor {

TInspectedParticle InspectPickedParticle(const TPick& pick, const std::string& system, int slot) {
    TInspectedParticle inspected;
    inspected.Key = pick.Best;
    inspected.System = system;
    inspected.Index = pick.BestIndex;
    inspected.Slot = slot;
    inspected.Record = ReadParticle(*pick.Best, pick.BestIndex);
    inspected.View = pick.BestView;
    inspected.Running = true;
    return inspected;
}

bool LivesIn(const TInspectedParticle& inspected, const TParticleEffectContainer& container) {
    return inspected.Key == &container && !inspected.Gone;
}

void InspectBeforePass(TInspectedParticle& inspected, const TParticleEffectContainer& container, float dt) {
    if (inspected.Key != &container) return;
    inspected.Running = true;
    if (!inspected.Gone) inspected.Step = BreakDownParticleStep(container, inspected.Index, dt);
}

void InspectAfterPass(TInspectedParticle& inspected, const TParticleEffectContainer& container,
                      const TScreenView& view) {
    if (!LivesIn(inspected, container)) return;
    inspected.StepSeen = inspected.Step.Index >= 0;
    const std::int32_t index = FindParticleAfterStep(container, inspected.Step);
    inspected.Gone = index < 0;
    if (!inspected.Gone) {
        inspected.Index = index;
        inspected.Record = ReadParticle(container, index);
    }
    inspected.View = view;
}

void AddInspectionMark(std::vector<TScreenLine>& lines, const TInspectedParticle& inspected) {
    if (!inspected.Running || inspected.Gone || inspected.View.Width <= 0) return;
    float x = 0, y = 0;
    if (!ProjectToWindow(inspected.View, inspected.Record.Position, x, y)) return;
    AddMark(lines, x, y, 8.0f);
    AddMark(lines, x, y, 9.0f);
}

} // namespace lumidor
