// Built with AVX-512 enabled (see engine/CMakeLists.txt); nothing here may run unless
// SixteenLaneSweepSupported() says so, except that function itself.

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

#define LUMIDOR_SWEEP_LANES 16
#include "engine/particle_sweep.inl"

} // namespace

bool SixteenLaneSweepSupported() {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
}

std::int32_t SimulateParticlesSixteenLanes(TParticleEffectContainer& container, float dt,
                                           const TCameraAxes& camera, TParticleVertex* vertices,
                                           const TTaskRunner& runner) {
    return Sweep(container, dt, camera, vertices, runner);
}

} // namespace lumidor
