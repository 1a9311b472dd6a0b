// Uses only the umbrella header, with no window and no GL context at all: 1,000 particles with a
// force, 30 simulation steps into the program's own vertex array.
#include <lumidor/lumidor.h>

#include <cstdio>
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

    const bool ok = written == 4000 && ParticleCount(container) == 1000 &&
                    container.Particles[0].Position.y > 0.0f && container.VertexBuffer == 0 &&
                    !GLAvailable() && container.TextureTiles.size() == 8;
    std::printf("acceptance: %d particles, %d vertices, y %.3f, GL %s: %s\n", ParticleCount(container),
                written, double(container.Particles[0].Position.y), GLAvailable() ? "set up" : "never set up",
                ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
