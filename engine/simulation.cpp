// The per-frame pass's entry: the table of sweep variants and the choice among them, and the
// one-particle helpers that run the sweep's physics on one lane.

#include "engine/simulation.h"

#include "engine/particle_blocks.h"
#include "engine/particle_life_curves.h"
#include "engine/particle_motion.h"
#include "engine/particle_vertices.h"
#include "engine/simulation_wide.h"

#include <cstdint>
#include <limits>

namespace lumidor {

namespace {

using namespace lanes;

// From this many particles on, the records and vertices (about 28 MiB) would not stay in a cache
// for whoever draws them anyway: the vertices are written with streaming stores, which skip reading
// each line before overwriting it, so the memory carries only what is written.
[[maybe_unused]] constexpr std::size_t kStreamedVertexParticles = 100000;

// Sixteen lanes keep twice as many particles in flight, which pays while the particles and their
// vertices stay in the cache; from main memory the eight-lane sweep streams better (figures in
// bench/README.md). At this many particles the records and vertices take about 9 MiB.
[[maybe_unused]] constexpr std::size_t kSixteenLaneParticleLimit = 32768;

constexpr std::size_t kAnyCount = std::numeric_limits<std::size_t>::max();

bool RunsAnywhere() {
    return true;
}

template <TContextSweepFunction Run>
std::int32_t OnThisThreadsContext(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                                  TParticleVertex* vertices, const TTaskRunner& runner) {
    return Run(ThisThreadsSweepContext(), container, dt, camera, vertices, runner);
}

// In order of preference. From main memory the streaming sweep with 32 registers comes first: its
// loads and stores are not interleaved with spills, which would take places in the same queues as
// the streamed traffic.
const TSweepVariant kSweepVariants[] = {
#if LUMIDOR_SIXTEEN_LANE_SWEEP
    {"sixteen lanes", 16, false, 0, kSixteenLaneParticleLimit, &SixteenLaneSweepSupported, &SweepSixteenLanes,
     &OnThisThreadsContext<&SweepSixteenLanes>, &StillSweepSixteenLanes},
    {"eight lanes, streaming, AVX-512 encodings", 8, true, kStreamedVertexParticles, kAnyCount,
     &SixteenLaneSweepSupported, &SweepEightLanesStreamingAvx512,
     &OnThisThreadsContext<&SweepEightLanesStreamingAvx512>, &StillSweepEightLanesStreamingAvx512},
#endif
#if LUMIDOR_WIDE_SWEEP
    {"eight lanes, streaming", 8, true, kStreamedVertexParticles, kAnyCount, &WideSweepSupported,
     &SweepEightLanesStreaming, &OnThisThreadsContext<&SweepEightLanesStreaming>,
     &StillSweepEightLanesStreaming},
    {"eight lanes", 8, false, 0, kAnyCount, &WideSweepSupported, &SweepEightLanes,
     &OnThisThreadsContext<&SweepEightLanes>, &StillSweepEightLanes},
#endif
    {"four lanes", 4, false, 0, kAnyCount, &RunsAnywhere, &SweepFourLanes,
     &OnThisThreadsContext<&SweepFourLanes>, &StillSweepFourLanes},
};

// The variants this processor runs, asked once.
const std::vector<const TSweepVariant*>& SupportedVariants() {
    static const std::vector<const TSweepVariant*> supported = [] {
        std::vector<const TSweepVariant*> list;
        for (const TSweepVariant& variant : kSweepVariants) {
            if (variant.Supported()) list.push_back(&variant);
        }
        return list;
    }();
    return supported;
}

} // namespace

std::span<const TSweepVariant> SweepVariants() {
    return kSweepVariants;
}

const TSweepVariant& ChooseSweep(std::size_t count, const TParticleVertex* vertices) {
    for (const TSweepVariant* variant : SupportedVariants()) {
        if (count < variant->MinParticles || count > variant->MaxParticles) continue;
        if (variant->Streaming && !vertices) continue;
        return *variant;
    }
    return kSweepVariants[std::size(kSweepVariants) - 1];
}

TSweepContext& ThisThreadsSweepContext() {
    // Hosts sweep containers from any thread; each thread's sweeps share one scratch, which keeps its
    // capacity between passes, so that a pass allocates nothing.
    static thread_local TSweepContext context;
    return context;
}

std::int32_t SimulateParticles(TSweepContext& context, TParticleEffectContainer& container, float dt,
                               const TCameraAxes& camera, TParticleVertex* vertices,
                               const TTaskRunner& runner) {
    return ChooseSweep(container.Particles.size(), vertices)
        .Run(context, container, dt, camera, vertices, runner);
}

std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices, const TTaskRunner& runner) {
    return SimulateParticles(ThisThreadsSweepContext(), container, dt, camera, vertices, runner);
}

std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices) {
    return SimulateParticles(container, dt, camera, vertices, TaskRunner());
}

std::int32_t WriteStillVertices(TParticleEffectContainer& container, const TCameraAxes& camera,
                                TParticleVertex* vertices, TDebugLine* lines, const TTaskRunner& runner) {
    return ChooseSweep(container.Particles.size(), vertices)
        .Still(ThisThreadsSweepContext(), container, camera, vertices, lines, runner);
}

std::int32_t WriteStillVertices(TParticleEffectContainer& container, const TCameraAxes& camera,
                                TParticleVertex* vertices, TDebugLine* lines) {
    return WriteStillVertices(container, camera, vertices, lines, TaskRunner());
}

std::int32_t SimulateParticlesFourLanes(TParticleEffectContainer& container, float dt,
                                        const TCameraAxes& camera, TParticleVertex* vertices,
                                        const TTaskRunner& runner) {
    return SweepFourLanes(ThisThreadsSweepContext(), container, dt, camera, vertices, runner);
}

std::vector<TSweepFunction> SupportedSweeps() {
    std::vector<TSweepFunction> sweeps{&SimulateParticlesFourLanes};
    for (const TSweepVariant* variant : SupportedVariants()) {
        if (variant->Run != &SweepFourLanes) sweeps.push_back(variant->RunOnThisThreadsContext);
    }
    return sweeps;
}

TCameraAxes CameraAxesFromModelview(const float modelview[16]) {
    return TCameraAxes{{modelview[0], modelview[4], modelview[8]},
                       {modelview[1], modelview[5], modelview[9]}};
}

std::uint8_t ColorChannelByte(float value) {
    return std::uint8_t(vertices::ChannelBytes<4>(Splat<4>(value))[0]);
}

TLifeSample SampleLifeCurves(const TParticleLifeCurves& life, float lifeLength, float lifeLeft) {
    TParticleLifeCurves sorted = life; // the pass sorts its own lists; this one is only read
    const life::TLifePass pass = life::MakeLifePass(sorted);
    const TLanes<4> f = life::AgeFraction<4>(Splat<4>(lifeLength), Splat<4>(lifeLeft));
    TLifeSample sample;
    sample.Fraction = f[0];
    // The colour is wanted as floats, not as the vertex bytes: read apart below.
    life::TLifeDrawn<4> drawn{Splat<4>(1.0f), Splat<4>(0.0f), Splat<4>(0.0f), TMask<4>{}};
    life::ApplyLifeKeys<4>(
        pass, f, [](TLanes<4>) { return TMask<4>{}; }, drawn);
    sample.AlphaFactor = drawn.Alpha[0];
    sample.HasSize = pass.Size.Count > 0;
    if (sample.HasSize) {
        sample.Width = drawn.Width[0];
        sample.Height = drawn.Height[0];
    }
    sample.HasTile = pass.Flipbook;
    if (sample.HasTile) sample.Tile = life::FlipbookTile<4>(pass, f)[0];
    sample.HasColor = pass.Color.Count > 0;
    if (sample.HasColor) {
        const TLanes3<4> rgb = life::ColorAt<4>(pass, f);
        sample.Color = {rgb.x[0], rgb.y[0], rgb.z[0]};
    }
    return sample;
}

TVector3 ApplyMagnetPoints(const TParticleEffectContainer& container, const TVector3& position) {
    const TLanes3<4> pull = physics::MagnetPull(container.MagnetPoints.data(), container.MagnetPoints.size(),
                                                Splat3<4>(position));
    return {pull.x[0], pull.y[0], pull.z[0]};
}

void CollideWithWorld(const TCollisionConvexWorld& world, TParticle& particle, float dt) {
    physics::TMotionPass<4> pass;
    pass.Dt = dt;
    physics::SetWorld(pass, world);
    if (!pass.World) return;
    const TLanes3<4> velocity =
        physics::Collide(pass, Splat3<4>(particle.Position), Splat3<4>(particle.Velocity));
    particle.Velocity = {velocity.x[0], velocity.y[0], velocity.z[0]};
}

} // namespace lumidor
