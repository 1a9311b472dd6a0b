// The per-frame particle pass on the demo's floor scene, on one thread and on oneTBB workers,
// against the memory floor of the same particle count: reading and writing each record once and
// streaming 96 bytes of vertices. The keyed pass draws the same scene through colour, opacity and
// size keys and a flipbook. The still pass draws a paused frame of the floor scene. The spinning,
// stretched pass draws the same scene's particles turning and laid along their motion; the turbulent
// pass stirs it with curl-noise turbulence. The trail pass runs it with 16-point trails: the pass,
// the recording and the ribbons' vertices.

#include "bench/floor_scene.h"
#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/particle_trails.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/task_runner.h"
#include "engine/tbb_task_runner.h"

#include <benchmark/benchmark.h>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace lumidor;

namespace {

constexpr float frameTime = 1.0f / 60.0f;

// The pass's scene: particles that fade and grow.
TParticleEffectContainer MakeFloorScene(std::int32_t count) {
    return bench::MakeFloorScene(count, bench::TFloorParticles::FadingGrowing);
}

// Tops the scene up; in a container that turns, each new particle takes an angle and a spin.
void TopUp(TParticleEffectContainer& container, std::int32_t target) {
    const std::int32_t first = ParticleCount(container);
    bench::TopUpFloorScene(container, target, bench::TFloorParticles::FadingGrowing);
    if (!container.Rotating) return;
    for (std::int32_t i = first; i < ParticleCount(container); ++i)
        SetParticleRotation(container, i, 360.0f * R() - 180.0f, 720.0f * R() - 360.0f);
}

// How the floor scene's particles are drawn; the functions below give the looks the benchmarks use.
struct TFloorLook {
    TParticleLifeCurves Life; // curves over life (none: none)
    bool Rotating = false;    // particles turn
    float Stretch = 0.0f;     // drawn along their motion
    TParticleFlow Flow;       // turbulence and vortex (none: none)
    TParticleTrail Trail;     // trails (none: none)
};

// Particles that spin and are drawn stretched along their motion.
TFloorLook SpinStretchLook() {
    TFloorLook look;
    look.Rotating = true;
    look.Stretch = 0.05f;
    return look;
}

// The floor scene of `count` particles drawn as `look` says, run at the demo's frame rate. The
// warm-up runs ten frames of half a second first, longer than any life: the ages are then the
// steady mix of a running effect at any count, so particles die during the measurement at a million
// as at ten thousand; its frames of the demo's rate fill the trails as a running effect has them.
// Topping up is the host's work and is not timed.
struct TFloorRun {
    TFloorRun(std::int32_t count, const TFloorLook& look, const TTaskRunner& runner)
        : Count(count), Container(MakeFloorScene(count)), Runner(runner),
          // Aligned as the mapped buffer UpdateAndDraw writes into.
          Vertices(std::size_t(Container.BufferCapacity) + 4 * std::size_t(count)) {
        Container.Life = look.Life;
        Container.Stretch = look.Stretch;
        Container.Flow = look.Flow;
        Container.Trail = look.Trail;
        if (look.Rotating) {
            Container.Rotating = true;
            for (std::int32_t i = 0; i < count; ++i)
                SetParticleRotation(Container, i, 360.0f * R() - 180.0f, 720.0f * R() - 360.0f);
        }
        for (int frame = 0; frame < 10; ++frame) {
            SimulateParticles(Container, 0.5f, TCameraAxes{}, Vertices.data(), Runner);
            RecordTrails(Container, 0.5f);
            TopUp(Container, Count);
        }
        TrailVertices.resize(TrailVertexCapacity(Container));
        for (int frame = 0; frame < (look.Trail.Points > 0 ? 40 : 10); ++frame)
            Frame();
        TopUp(Container, Count);
        TrailVertices.resize(TrailVertexCapacity(Container));
    }
    // One frame, the timed part: the pass, and with trails their recording and ribbons, as
    // UpdateAndDraw runs them.
    void Frame() {
        SimulateParticles(Container, frameTime, TCameraAxes{}, Vertices.data(), Runner);
        Container.Flow.Time += frameTime; // as UpdateAndDraw does
        if (Container.Trail.Points > 0) {
            RecordTrails(Container, frameTime);
            TrailCount =
                WriteTrailVertices(Container, TCameraAxes{}, TrailVertices.data(), TrailVertices.size());
        }
        benchmark::DoNotOptimize(Vertices.data());
        benchmark::DoNotOptimize(TrailVertices.data());
        benchmark::ClobberMemory();
    }
    // Back to Count particles; returns how many had died.
    std::int32_t TopUpAfterFrame() {
        const std::int32_t deaths = Count - ParticleCount(Container);
        TopUp(Container, Count);
        if (Vertices.size() < std::size_t(Container.BufferCapacity))
            Vertices.resize(std::size_t(Container.BufferCapacity));
        TrailVertices.resize(TrailVertexCapacity(Container));
        return deaths;
    }

    std::int32_t Count;
    TParticleEffectContainer Container;
    TTaskRunner Runner;
    TVertexBuffer Vertices;
    TVertexBuffer TrailVertices;
    std::size_t TrailCount = 0; // vertices the last frame's ribbons took
};

void RunParticlePass(benchmark::State& state, const TTaskRunner& runner, const TFloorLook& look = {}) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    TFloorRun run(std::int32_t(state.range(0)), look, runner);
    std::int64_t trailVertices = 0;
    std::int64_t deaths = 0;
    for (auto _ : state) {
        run.Frame();
        state.PauseTiming();
        trailVertices += std::int64_t(run.TrailCount);
        deaths += run.TopUpAfterFrame();
        state.ResumeTiming();
    }
    state.counters["ns_per_particle"] =
        benchmark::Counter(double(run.Count) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["deaths_per_frame"] = double(deaths) / double(state.iterations());
    if (look.Trail.Points > 0)
        state.counters["trail_vertices_per_frame"] = double(trailVertices) / double(state.iterations());
}

void BM_ParticlePass(benchmark::State& state) {
    RunParticlePass(state, TTaskRunner{});
}

// The same scene with particles that spin and are drawn stretched along their motion: the extended
// step reads and writes each angle, and the corners follow each particle's velocity on screen.
void BM_ParticlePassSpinStretch(benchmark::State& state) {
    RunParticlePass(state, TTaskRunner{}, SpinStretchLook());
}

// The same scene with trail(0.5, 16, 0.05): every particle records every other frame and draws a
// ribbon of up to 15 quads.
void BM_ParticlePassTrail16(benchmark::State& state) {
    RunParticlePass(state, TTaskRunner{}, [] {
        TFloorLook look;
        look.Trail = {0.5f, 16, 0.05f, 0};
        return look;
    }());
}

// A paused frame of the same scene: the still pass (WriteStillVertices), or the copy it replaced
// (a pass of no time on the container, its particles and events put back). Neither changes the
// scene, so there is nothing to top up.
void RunStillFrame(benchmark::State& state, bool byCopy) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    TFloorRun run(std::int32_t(state.range(0)), TFloorLook{}, TTaskRunner{});
    for (auto _ : state) {
        if (byCopy) {
            TParticleArray particles = run.Container.Particles;
            TParticleEventLog events = run.Container.Events;
            SimulateParticles(run.Container, 0.0f, TCameraAxes{}, run.Vertices.data(), run.Runner);
            run.Container.Particles = std::move(particles);
            run.Container.Events = std::move(events);
        } else {
            WriteStillVertices(run.Container, TCameraAxes{}, run.Vertices.data(), nullptr, run.Runner);
        }
        benchmark::DoNotOptimize(run.Vertices.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_particle"] =
        benchmark::Counter(double(run.Count) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ParticlePassStill(benchmark::State& state) {
    RunStillFrame(state, false);
}

void BM_ParticlePassStillByCopy(benchmark::State& state) {
    RunStillFrame(state, true);
}

// Three colour keys, two opacity keys, two size keys and the atlas's eight tiles twice over a life:
// what an effect such as a flame uses.
TParticleLifeCurves FlameCurves() {
    TParticleLifeCurves life;
    life.ColorKeys = {{0.0f, {1, 1, 0.8f}}, {0.4f, {1, 0.5f, 0.1f}}, {1.0f, {0.2f, 0.2f, 0.2f}}};
    life.AlphaKeys = {{0.0f, 1.0f}, {1.0f, 0.2f}};
    life.SizeKeys = {{0.0f, 0.1f, 0.1f}, {1.0f, 0.4f, 0.5f}};
    life.Flipbook = {0, 8, 2.0f};
    return life;
}

// The floor scene drawn through FlameCurves.
TFloorLook KeyedLook() {
    TFloorLook look;
    look.Life = FlameCurves();
    return look;
}

// Turbulence of strength 2 with features a unit apart, drifting up half a unit a second.
void BM_ParticlePassTurbulence(benchmark::State& state) {
    TParticleFlow flow;
    flow.Turbulence = {2.0f, 1.0f, 0.5f};
    RunParticlePass(state, TTaskRunner{}, [&] {
        TFloorLook look;
        look.Flow = flow;
        return look;
    }());
}

void BM_ParticlePassKeyed(benchmark::State& state) {
    RunParticlePass(state, TTaskRunner{}, KeyedLook());
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// The keyed pass against the plain one in one process: two floor scenes, one plain and one keyed,
// take turns of a few frames, the first of each turn untimed (it brings the scene back into the
// caches the other one used), the others timed one by one. On a shared host a busy spell then falls
// on both, and the ratio of the medians keeps still where separate runs drift apart. The
// benchmark's own time is a turn of each.
constexpr int kFramesATurn = 8;

// Runs the floor scene plain and as `look` draws it in turns; returns the median seconds of a frame
// of each (plain first).
std::pair<double, double> PlainAndOther(benchmark::State& state, const TFloorLook& look) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    const auto count = std::int32_t(state.range(0));
    TFloorRun plain(count, TFloorLook{}, TTaskRunner{});
    TFloorRun other(count, look, TTaskRunner{});
    std::vector<double> plainSeconds, otherSeconds;
    const auto turn = [&state](TFloorRun& run, std::vector<double>& seconds) {
        for (int frame = 0; frame < kFramesATurn; ++frame) {
            const auto start = std::chrono::steady_clock::now();
            run.Frame();
            const auto end = std::chrono::steady_clock::now();
            state.PauseTiming();
            if (frame > 0) seconds.push_back(std::chrono::duration<double>(end - start).count());
            run.TopUpAfterFrame();
            state.ResumeTiming();
        }
    };
    for (auto _ : state) {
        turn(plain, plainSeconds);
        turn(other, otherSeconds);
    }
    return {Median(plainSeconds), Median(otherSeconds)};
}

void BM_KeyedOverPlain(benchmark::State& state) {
    const auto [plainMedian, keyedMedian] = PlainAndOther(state, KeyedLook());
    const double count = double(state.range(0));
    state.counters["plain_ns_per_particle"] = plainMedian * 1e9 / count;
    state.counters["keyed_ns_per_particle"] = keyedMedian * 1e9 / count;
    state.counters["keyed_over_plain"] = keyedMedian / plainMedian;
}

// The spinning, stretched pass against the plain one, taking turns as above.
void BM_SpinStretchOverPlain(benchmark::State& state) {
    const auto [plainMedian, spinMedian] = PlainAndOther(state, SpinStretchLook());
    const double count = double(state.range(0));
    state.counters["plain_ns_per_particle"] = plainMedian * 1e9 / count;
    state.counters["spin_stretch_ns_per_particle"] = spinMedian * 1e9 / count;
    state.counters["spin_stretch_over_plain"] = spinMedian / plainMedian;
}

void BM_ParticlePassParallel(benchmark::State& state) {
    const auto threads = std::int32_t(state.range(1));
    RunParticlePass(state, MakeTbbTaskRunner(threads)); // the demo's runner, in an arena of `threads`
}

// The floor: each record read and written once and 96 bytes of vertices written a particle, with
// the widest loads and stores the processor has and nothing else. The empty asm keeps the loaded
// registers alive without sending them through the stack.
constexpr std::size_t recordBytes = sizeof(TParticle);
static_assert(recordBytes == 164, "the floor below copies 5 x 32 + 4 bytes a record");

#if defined(__x86_64__)
// Stream: the vertices leave with streaming stores, as the sweep writes them from 100,000 particles.
template <bool Stream>
__attribute__((target("avx2"))) void FloorPassWide(unsigned char* records, std::size_t count,
                                                   unsigned char* out) {
    for (std::size_t i = 0; i < count; ++i, records += recordBytes, out += 4 * sizeof(TParticleVertex)) {
        __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(records));
        __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(records + 32));
        __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(records + 64));
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(records + 96));
        __m256i e = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(records + 128));
        std::uint32_t f;
        std::memcpy(&f, records + 160, 4);
        asm volatile("" : "+x"(a), "+x"(b), "+x"(c), "+x"(d), "+x"(e), "+r"(f));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(records), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(records + 32), b);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(records + 64), c);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(records + 96), d);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(records + 128), e);
        std::memcpy(records + 160, &f, 4);
        if (Stream) {
            _mm256_stream_si256(reinterpret_cast<__m256i*>(out), a);
            _mm256_stream_si256(reinterpret_cast<__m256i*>(out + 32), b);
            _mm256_stream_si256(reinterpret_cast<__m256i*>(out + 64), c);
        } else {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), a);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), b);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 64), c);
        }
    }
    if (Stream) _mm_sfence();
}
#endif

// The same with 16-byte rows, for processors without AVX2.
void FloorPassRows(unsigned char* records, std::size_t count, unsigned char* out) {
    using TRow = float __attribute__((vector_size(16)));
    for (std::size_t i = 0; i < count; ++i, records += recordBytes, out += 4 * sizeof(TParticleVertex)) {
        TRow rows[10];
        for (int r = 0; r < 10; ++r)
            std::memcpy(&rows[r], records + 16 * r, 16);
        std::uint32_t f;
        std::memcpy(&f, records + 160, 4);
        asm volatile(""
                     : "+x"(rows[0]), "+x"(rows[1]), "+x"(rows[2]), "+x"(rows[3]), "+x"(rows[4]),
                       "+x"(rows[5]), "+x"(rows[6]), "+x"(rows[7]), "+x"(rows[8]), "+x"(rows[9]), "+r"(f));
        for (int r = 0; r < 10; ++r)
            std::memcpy(records + 16 * r, &rows[r], 16);
        std::memcpy(records + 160, &f, 4);
        for (int r = 0; r < 6; ++r)
            std::memcpy(out + 16 * r, &rows[r], 16);
    }
}

// The floor pass over records [first, first + count) and their vertices.
void FloorPass(unsigned char* records, unsigned char* out, std::size_t first, std::size_t count,
               bool stream) {
    records += first * recordBytes;
    out += first * 4 * sizeof(TParticleVertex);
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide && stream)
        FloorPassWide<true>(records, count, out);
    else if (wide)
        FloorPassWide<false>(records, count, out);
    else
#endif
        FloorPassRows(records, count, out);
}

// The floor on `threads` oneTBB workers, each over an equal part: what the memory gives that many
// cores at once.
void RunMemoryFloor(benchmark::State& state, std::int32_t threads) {
    const auto count = std::size_t(state.range(0));
    const bool stream = state.range(1) != 0;
    std::vector<TParticle> particles(count);
    TVertexBuffer vertices(4 * count);
    auto* records = reinterpret_cast<unsigned char*>(particles.data());
    auto* out = reinterpret_cast<unsigned char*>(vertices.data());
    tbb::task_arena arena(threads);
    const auto part = [&](std::size_t p) {
        const std::size_t first = count * p / std::size_t(threads);
        FloorPass(records, out, first, count * (p + 1) / std::size_t(threads) - first, stream);
    };
    for (auto _ : state) {
        if (threads == 1) {
            part(0);
        } else {
            arena.execute([&] {
                tbb::parallel_for(
                    tbb::blocked_range<std::size_t>(0, std::size_t(threads), 1),
                    [&](const tbb::blocked_range<std::size_t>& parts) {
                        for (std::size_t p = parts.begin(); p != parts.end(); ++p)
                            part(p);
                    },
                    tbb::simple_partitioner());
            });
        }
        benchmark::DoNotOptimize(records);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_particle"] =
        benchmark::Counter(double(count) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Arg 1: the vertices leave with streaming stores (on AVX2). The floor at a size is the lower of the two.
void BM_MemoryFloor(benchmark::State& state) {
    RunMemoryFloor(state, 1);
}

// Arg 2: threads (real time), the reference for BM_ParticlePassParallel.
void BM_MemoryFloorParallel(benchmark::State& state) {
    RunMemoryFloor(state, std::int32_t(state.range(2)));
}

} // namespace

BENCHMARK(BM_ParticlePass)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassSpinStretch)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassTrail16)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassStill)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassStillByCopy)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassTurbulence)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassKeyed)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyedOverPlain)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpinStretchOverPlain)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePassParallel)
    ->Args({20000, 2})
    ->Args({1000000, 2})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryFloor)
    ->ArgsProduct({{2000, 10000, 20000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryFloorParallel)
    ->ArgsProduct({{20000, 1000000}, {0, 1}, {2}})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
