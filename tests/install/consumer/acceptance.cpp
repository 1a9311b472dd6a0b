// Uses only the umbrella header, with no window and no GL context at all: 1,000 particles with a
// force, 30 simulation steps into the program's own vertex array, then a copy and a move of the system.
#include <lumidor/lumidor.h>

// The package puts only P/include on the include path: a consumer's own bare "engine/..." must never
// land on Lumidor's headers.
#if __has_include("engine/vector.h")
#error "Lumidor's engine/vector.h is reachable without the lumidor/ prefix"
#endif

#include <cstdio>
#include <utility>
#include <vector>

int main() {
    using namespace lumidor;
    TParticleEffectContainer container;
    SetTextureProperties(container, 0, 2, 4);
    for (std::int32_t i = 0; i < 1000; ++i) {
        AddParticle(container, {0.0f, 0.0f, 0.0f}, {0.1f, 0.1f, 0.0f}, {1.0f, 1.0f, 1.0f}, i % 8, 5.0f);
        SetParticleForce(container, {0.0f, 1.0f, 0.0f}, i);
    }
    std::vector<TParticleVertex> vertices(4 * 1000);
    const float dt = 1.0f / 30.0f;
    std::int32_t written = 0;
    for (int frame = 0; frame < 30; ++frame)
        written = SimulateParticles(container, dt, TCameraAxes{}, vertices.data());

    // Systems are values: a copy steps on its own, a move takes the particles along.
    TParticleEffectContainer copy = container;
    SimulateParticles(copy, dt, TCameraAxes{}, vertices.data());
    const TParticleEffectContainer moved = std::move(copy);
    const bool valuesOk =
        moved.Particles.size() == 1000 && moved.Particles[0].Position.y > container.Particles[0].Position.y;

    const bool ok = valuesOk && written == 4000 && ParticleCount(container) == 1000 &&
                    container.Particles[0].Position.y > 0.0f && container.VertexBuffer == 0 &&
                    !GLAvailable() && container.TextureTiles.size() == 8;
    std::printf("acceptance: %d particles, %d vertices, y %.3f, GL %s: %s\n", ParticleCount(container),
                written, double(container.Particles[0].Position.y), GLAvailable() ? "set up" : "never set up",
                ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
