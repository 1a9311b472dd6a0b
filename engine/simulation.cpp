#include "engine/simulation.h"

#include "engine/particle_blocks.h"
#include "engine/simd_lanes.h"
#include "engine/simulation_wide.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <span>
#include <vector>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace lumidor {

using namespace lanes;

namespace {

#define LUMIDOR_SWEEP_LANES 4
#include "engine/particle_sweep.inl"

} // namespace

TCameraAxes CameraAxesFromModelview(const float modelview[16]) {
    return TCameraAxes{{modelview[0], modelview[4], modelview[8]},
                       {modelview[1], modelview[5], modelview[9]}};
}

std::uint8_t ColorChannelByte(float value) {
    return std::uint8_t(ChannelBytes(Splat(value))[0]);
}

TVector3 ApplyMagnetPoints(const TParticleEffectContainer& container, const TVector3& position) {
    TPassConstants pass;
    pass.Magnets = container.MagnetPoints.data();
    pass.MagnetCount = container.MagnetPoints.size();
    const TLanes3 pull = MagnetPull(pass, Splat3(position));
    return {pull.x[0], pull.y[0], pull.z[0]};
}

void CollideWithWorld(const TCollisionConvexWorld& world, TParticle& particle, float dt) {
    TPassConstants pass;
    pass.Dt = dt;
    SetWorld(pass, world);
    if (!pass.World) return;
    const TLanes3 velocity = Collide(pass, Splat3(particle.Position), Splat3(particle.Velocity));
    particle.Velocity = {velocity.x[0], velocity.y[0], velocity.z[0]};
}

namespace {

// From this many particles on, the records and vertices (about 28 MiB) would not stay in a cache
// for whoever draws them anyway: the vertices are written with streaming stores, which skip reading
// each line before overwriting it, so the memory carries only what is written.
[[maybe_unused]] constexpr std::size_t kStreamedVertexParticles = 100000;

} // namespace

#if LUMIDOR_SIXTEEN_LANE_SWEEP
namespace {

// Sixteen lanes keep twice as many particles in flight, which pays while the particles and their
// vertices stay in the cache; from main memory the eight-lane sweep streams better (figures in
// bench/README.md). At this many particles the records and vertices take about 9 MiB.
constexpr std::size_t kSixteenLaneParticleLimit = 32768;

} // namespace
#endif

std::int32_t SimulateParticlesFourLanes(TParticleEffectContainer& container, float dt,
                                        const TCameraAxes& camera, TParticleVertex* vertices,
                                        const TTaskRunner& runner) {
    return Sweep(container, dt, camera, vertices, runner);
}

std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices, const TTaskRunner& runner) {
#if LUMIDOR_SIXTEEN_LANE_SWEEP
    static const bool sixteen = SixteenLaneSweepSupported();
    if (sixteen && container.Particles.size() <= kSixteenLaneParticleLimit)
        return SimulateParticlesSixteenLanes(container, dt, camera, vertices, runner);
    // The streaming sweep with 32 registers: its loads and stores are not interleaved with spills,
    // which from main memory would take places in the same queues as the streamed traffic.
    if (sixteen && vertices && container.Particles.size() >= kStreamedVertexParticles)
        return SimulateParticlesWideStreamingAvx512(container, dt, camera, vertices, runner);
#endif
#if LUMIDOR_WIDE_SWEEP
    static const bool wide = WideSweepSupported();
    if (wide && vertices && container.Particles.size() >= kStreamedVertexParticles)
        return SimulateParticlesWideStreaming(container, dt, camera, vertices, runner);
    if (wide) return SimulateParticlesWide(container, dt, camera, vertices, runner);
#endif
    return Sweep(container, dt, camera, vertices, runner);
}

std::vector<TSweepFunction> SupportedSweeps() {
    std::vector<TSweepFunction> sweeps{&SimulateParticlesFourLanes};
#if LUMIDOR_WIDE_SWEEP
    if (WideSweepSupported()) {
        sweeps.push_back(&SimulateParticlesWide);
        sweeps.push_back(&SimulateParticlesWideStreaming);
    }
#endif
#if LUMIDOR_SIXTEEN_LANE_SWEEP
    if (SixteenLaneSweepSupported()) {
        sweeps.push_back(&SimulateParticlesSixteenLanes);
        sweeps.push_back(&SimulateParticlesWideStreamingAvx512);
    }
#endif
    return sweeps;
}

std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices) {
    return SimulateParticles(container, dt, camera, vertices, TaskRunner());
}

} // namespace lumidor
