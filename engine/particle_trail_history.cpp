// The trails' history beside the particles: shaping it for a container's Trail, keeping it in step
// with the blocks as they grow, moving a trail with its particle, recording positions after a pass
// and moving the recorded points with the particles.

#include "engine/particle_blocks.h"
#include "engine/particle_trails.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace lumidor {

namespace {

// The slots a container's Trail lets keep a trail.
std::size_t LimitOf(const TParticleTrail& trail) {
    return trail.MaxParticles > 0 ? std::size_t(trail.MaxParticles) : std::numeric_limits<std::size_t>::max();
}

} // namespace

void ShapeTrailHistory(TParticleStorage& storage, std::int32_t points, std::size_t limit) {
    TParticleTrailHistory& trail = storage.Trail;
    const std::int32_t ring = points < 2 ? 0 : std::min(points, kMostTrailPoints) - 1;
    if (ring == 0) {
        if (trail.Ring != 0) trail = TParticleTrailHistory{}; // frees the memory too
        return;
    }
    if (trail.Ring == ring && trail.Limit == limit) return;
    trail = TParticleTrailHistory{};
    trail.Ring = ring;
    trail.Limit = limit;
    FitTrailHistory(storage);
}

void FitTrailHistory(TParticleStorage& storage) {
    TParticleTrailHistory& trail = storage.Trail;
    if (trail.Ring == 0) return;
    const std::size_t slots = std::min(storage.Blocks.size() * kParticleBlockLanes, trail.Limit);
    if (slots <= trail.Slots) return;
    trail.Positions.resize(slots * std::size_t(trail.Ring));
    trail.Owned.resize(slots, 0);
    trail.Slots = slots;
}

void CopyTrail(const TParticleTrailHistory* source, std::size_t from, TParticleTrailHistory& target,
               std::size_t to) {
    if (to >= target.Slots) return;
    // Only a history of the same ring lines up with the target's: every array of the engine shares
    // its own with itself, and a gathered copy keeps none.
    if (!source || from >= source->Slots || source->Ring != target.Ring) {
        target.Owned[to] = 0;
        return;
    }
    const auto ring = std::size_t(target.Ring);
    // memmove: removing the last particle copies it onto itself.
    std::memmove(target.Positions.data() + to * ring, source->Positions.data() + from * ring,
                 ring * sizeof(TVector3));
    target.Owned[to] = source->Owned[from];
}

void ShapeTrails(TParticleEffectContainer& container) {
    TParticleStorage* storage = container.Particles.EngineStorage();
    if (storage) ShapeTrailHistory(*storage, container.Trail.Points, LimitOf(container.Trail));
}

void RecordTrails(TParticleEffectContainer& container, float dt) {
    ShapeTrails(container);
    TParticleStorage* storage = container.Particles.EngineStorage();
    if (!storage || storage->Trail.Ring == 0) return;
    TParticleTrailHistory& trail = storage->Trail;
    const double interval = double(container.Trail.Seconds) / double(trail.Ring);
    if (!(interval > 0.0) || !std::isfinite(interval)) return;
    if (dt > 0.0f && std::isfinite(dt)) trail.Clock += double(dt);
    if (trail.Clock < interval) return;
    // A pass longer than the spacing records once: the positions between were never known.
    trail.Clock = std::fmod(trail.Clock, interval);
    trail.Newest = (trail.Newest + 1) % trail.Ring;
    const std::size_t slots = std::min(container.Particles.size(), trail.Slots);
    const auto ring = std::size_t(trail.Ring), newest = std::size_t(trail.Newest);
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const TParticleBlock& block = storage->Blocks[slot / kParticleBlockLanes];
        const std::size_t lane = slot % kParticleBlockLanes;
        trail.Positions[slot * ring + newest] = {block.Position.x[lane], block.Position.y[lane],
                                                 block.Position.z[lane]};
        if (trail.Owned[slot] < ring) ++trail.Owned[slot];
    }
}

void TranslateTrails(TParticleEffectContainer& container, const TVector3& offset) {
    TParticleStorage* storage = container.Particles.EngineStorage();
    if (!storage || storage->Trail.Ring == 0) return;
    TParticleTrailHistory& trail = storage->Trail;
    const std::size_t points = std::min(container.Particles.size(), trail.Slots) * std::size_t(trail.Ring);
    for (std::size_t k = 0; k < points; ++k) {
        TVector3& point = trail.Positions[k];
        point.x += offset.x;
        point.y += offset.y;
        point.z += offset.z;
    }
}

std::vector<TVector3> TrailPoints(const TParticleEffectContainer& container, std::int32_t index) {
    std::vector<TVector3> points;
    if (index < 0 || std::size_t(index) >= container.Particles.size()) return points;
    const TParticleTrailHistory& trail = container.Particles.Blocks().Trail;
    if (std::size_t(index) >= trail.Slots) return points;
    const auto ring = std::size_t(trail.Ring);
    for (std::size_t k = 0; k < trail.Owned[std::size_t(index)]; ++k)
        points.push_back(
            trail.Positions[std::size_t(index) * ring + (std::size_t(trail.Newest) + ring - k) % ring]);
    return points;
}

} // namespace lumidor
