#pragma once
// The scene the sweep's identity tests share: every code path of the per-frame pass at once.

#include "engine/collision_world.h"
#include "engine/particle_container.h"
#include "engine/random.h"
#include "engine/task_runner.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace lumidor {

// All magnet modes, a sloped ground, wind, debug tips; particles come from the test.
inline TParticleEffectContainer MakeEveryPathScene() {
    TParticleEffectContainer scene{};
    SetTextureProperties(scene, 1, 2, 4);
    SetWind(scene, {0.5f, -1, 0.25f});
    SetCollisionWorld(scene, std::make_shared<HDataArray>(3, std::vector<float>{0.0f, 0.3f, -0.2f}),
                      {-3, -1, -3}, 3.0f, 3.0f);
    SetWorldFriction(scene, {0.2f, 0.4f, 0.2f});
    for (int mode = 0; mode < 4; ++mode) {
        const std::int32_t id =
            AddMagnetPoint(scene, {float(mode) - 1.5f, 0, 0}, 2.5f, mode % 2 ? -2.0f : 1.5f);
        SetMagnetMode(scene, mode, id);
    }
    ToggleDebugMode(scene);
    return scene;
}

// Random force, mass, velocity, inertia, drag, growth and fading for particle i.
inline void RandomizeParticle(TParticleEffectContainer& scene, std::int32_t i) {
    SetParticleForce(scene, {0, -9.81f * R(), 0}, i);
    SetParticleMass(scene, i, 0.2f + R());
    SetParticleVelocity(scene, {R() - 0.5f, R(), R() - 0.5f}, i);
    SetParticleInertia(scene, {R(), 0.4f, R()}, i);
    SetParticleAirResistance(scene, i, R() * 0.3f);
    SetParticleEnlargement(scene, {0.1f, R(), 0}, i);
    SetParticleEndFadeIn(scene, i, R() * 0.3f);
    SetParticleBeginFadeOut(scene, i, 0.5f + R() * 0.4f);
}

// Runs the ranges on the calling thread in an order shuffled by `seed`, `threads` ranges a pass
// with as few particles in each as the sweep allows.
inline TTaskRunner ShuffledRunner(std::int32_t threads, unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    TTaskRunner runner;
    runner.Threads = threads;
    runner.MinimumParticlesPerRange = 1;
    runner.RunRanges = [engine](std::int32_t count, const std::function<void(std::int32_t)>& range) {
        std::vector<std::int32_t> order(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), *engine);
        for (const std::int32_t r : order)
            range(r);
    };
    return runner;
}

} // namespace lumidor
