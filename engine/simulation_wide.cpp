// Built with AVX2 enabled (see engine/CMakeLists.txt); nothing here may run unless
// WideSweepSupported() says so, except that function itself. simulation_wide_streaming.cpp builds
// it again with streaming vertex stores, and simulation_wide_streaming_avx512.cpp once more with
// AVX-512's encodings as well.

#include "engine/simulation_wide.h"

#include "engine/particle_blocks.h"
#include "engine/simd_lanes.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <span>
#include <vector>

namespace lumidor {

using namespace lanes;

namespace {

#define LUMIDOR_SWEEP_LANES 8
#include "engine/particle_sweep.inl"

} // namespace

#if LUMIDOR_SWEEP_STREAMING
// Both streaming builds share this entry; only its name tells them apart.
#if LUMIDOR_SWEEP_AVX512_ENCODINGS
#define LUMIDOR_STREAMING_SWEEP SimulateParticlesWideStreamingAvx512
#else
#define LUMIDOR_STREAMING_SWEEP SimulateParticlesWideStreaming
#endif
std::int32_t LUMIDOR_STREAMING_SWEEP(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                                     TParticleVertex* vertices, const TTaskRunner& runner) {
    if (reinterpret_cast<std::uintptr_t>(vertices) % 32 != 0)
        return SimulateParticlesWide(container, dt, camera, vertices, runner);
    return Sweep(container, dt, camera, vertices, runner);
}
#undef LUMIDOR_STREAMING_SWEEP
#else
bool WideSweepSupported() {
    return __builtin_cpu_supports("avx2");
}

std::int32_t SimulateParticlesWide(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                                   TParticleVertex* vertices, const TTaskRunner& runner) {
    return Sweep(container, dt, camera, vertices, runner);
}
#endif

} // namespace lumidor
