#include "app/debug/picked_particle.h"

#include "engine/simulation.h"

#include <cstdio>

namespace lumidor {

namespace {

// The record as its system's last pass left it, and what the system's curves draw for it.
void TakeRecord(TInspectedParticle& inspected, const TParticleEffectContainer& container,
                std::int32_t index) {
    inspected.Index = index;
    inspected.Record = ReadParticle(container, index);
    inspected.AlphaKeyed = !container.Life.AlphaKeys.empty();
    inspected.Life = SampleLifeCurves(container.Life, inspected.Record.LifeLength, inspected.Record.LifeLeft);
}

} // namespace

TInspectedParticle InspectPickedParticle(const TPick& pick, const std::string& system, int slot) {
    TInspectedParticle inspected;
    inspected.Key = pick.Best;
    inspected.System = system;
    inspected.Slot = slot;
    TakeRecord(inspected, *pick.Best, pick.BestIndex);
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
    if (!inspected.Gone) TakeRecord(inspected, container, index);
    inspected.View = view;
}

void InspectStillPass(TInspectedParticle& inspected, const TParticleEffectContainer& container,
                      const TScreenView& view) {
    if (inspected.Key != &container) return;
    inspected.Running = true;
    if (!inspected.Gone) inspected.View = view;
}

float DrawnOpacity(const TInspectedParticle& inspected) {
    return inspected.Record.Alpha * inspected.Life.AlphaFactor; // as the sweep multiplies them
}

std::string OpacityText(const TInspectedParticle& inspected) {
    char text[96];
    if (inspected.AlphaKeyed) {
        std::snprintf(text, sizeof text, "Opacity drawn %.3f = fading %.3f x alpha keys %.3f",
                      double(DrawnOpacity(inspected)), double(inspected.Record.Alpha),
                      double(inspected.Life.AlphaFactor));
    } else {
        std::snprintf(text, sizeof text, "Opacity drawn %.3f (fading; no alpha keys)",
                      double(DrawnOpacity(inspected)));
    }
    return text;
}

void AddInspectionMark(std::vector<TScreenLine>& lines, const TInspectedParticle& inspected) {
    if (!inspected.Running || inspected.Gone || inspected.View.Width <= 0) return;
    float x = 0, y = 0;
    if (!ProjectToWindow(inspected.View, inspected.Record.Position, x, y)) return;
    AddMark(lines, x, y, 8.0f);
    AddMark(lines, x, y, 9.0f);
}

} // namespace lumidor
