// The benchmarks' floor scene (floor_scene.h).

#include "bench/floor_scene.h"

#include "engine/random.h"

#include <memory>
#include <vector>

namespace lumidor::bench {

namespace {

float Uniform(float low, float high) {
    return low + (high - low) * R();
}

void AddFloorParticle(TParticleEffectContainer& container, TFloorParticles particles) {
    // One expression, so that every benchmark draws its random numbers in the same order.
    AddParticle(container, {Uniform(-2, 2), Uniform(-2, 2), Uniform(-2, 2)}, {0.1f, 0.1f, 0}, {1, 0.6f, 0.3f},
                0, Uniform(2, 4));
    const std::int32_t i = ParticleCount(container) - 1;
    SetParticleForce(container, {0, -9.81f, 0}, i);
    SetParticleInertia(container, {0.4f, 0.4f, 0.4f}, i);
    SetParticleMass(container, i, 0.7f);
    SetParticleAirResistance(container, i, 0.1f);
    if (particles == TFloorParticles::Plain) return;
    SetParticleEndFadeIn(container, i, 0.2f);
    SetParticleBeginFadeOut(container, i, 0.7f);
    SetParticleEnlargement(container, {0.1f, 0.1f, 0}, i);
}

} // namespace

void TopUpFloorScene(TParticleEffectContainer& container, std::int32_t target, TFloorParticles particles) {
    while (ParticleCount(container) < target)
        AddFloorParticle(container, particles);
}

TParticleEffectContainer MakeFloorScene(std::int32_t count, TFloorParticles particles) {
    TParticleEffectContainer container{};
    SetTextureProperties(container, 1, 2, 4);
    SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>(2, 0.0f)),
                      {-5, -1.1f, -5}, 10.0f, 10.0f);
    SetWorldFriction(container, {0.2f, 0.4f, 0.2f});
    AddMagnetPoint(container, {0, 0, 0}, 3.0f, -2.0f);
    TopUpFloorScene(container, count, particles);
    return container;
}

} // namespace lumidor::bench
