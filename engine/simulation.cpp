#include "engine/simulation.h"

#include <cmath>
#include <cstring>

namespace lumidor {

namespace {

// Four float lanes (x, y, z, unused) so the per-axis rules run as one operation each; GCC and Clang
// map this onto SSE or NEON registers.
using TLanes = float __attribute__((vector_size(16)));
using TLaneMask = std::int32_t __attribute__((vector_size(16)));

inline TLanes Load(const TVector3& v) { return TLanes{v.x, v.y, v.z, 0.0f}; }
inline TLanes Load(const TVector3& v, float unused) { return TLanes{v.x, v.y, v.z, unused}; }
inline void Store(TVector3& v, TLanes lanes) { v = TVector3{lanes[0], lanes[1], lanes[2]}; }
inline TLanes Splat(float value) { return TLanes{value, value, value, value}; }
inline TLanes Abs(TLanes v) { return TLanes(TLaneMask(v) & 0x7fffffff); }
inline TLanes Select(TLaneMask mask, TLanes ifTrue, TLanes ifFalse) {
    return TLanes((TLaneMask(ifTrue) & mask) | (TLaneMask(ifFalse) & ~mask));
}

// Everything the sweep reads from the container, fetched once per pass.
struct TPassConstants {
    float Dt;
    TLanes Wind;
    const TMagnetPoint* Magnets;
    std::size_t MagnetCount;
    const TCollisionConvexWorld* World; // null: no collision
    bool Debug;
    float DebugScale;
    TLanes CornerAxes[4];               // sx * Right + sy * Up per corner
    const TTextureTile* Tiles;
    std::uint32_t TileCount;
};

// Used for a particle whose tile is outside the table (or a container without tiles): the whole
// texture, corners as a 1 x 1 atlas lays them out.
constexpr TTextureTile wholeTexture{{1, 0, 0, 1}, {1, 1, 0, 0}};

inline TLanes MagnetPull(const TPassConstants& pass, const TVector3& position) {
    TLanes total = Splat(0.0f);
    for (std::size_t k = 0; k < pass.MagnetCount; ++k) {
        const TMagnetPoint& magnet = pass.Magnets[k];
        TLanes delta = Load(position) - Load(magnet.Position);
        const float distance = std::sqrt(delta[0] * delta[0] + delta[1] * delta[1] + delta[2] * delta[2]);
        if (distance > magnet.Radius) continue;
        const float gravity = magnet.Gravity;
        switch (magnet.Mode) {
        case 0: {
            // Per axis back towards the magnet, strongest where the particle is nearly level with it.
            const float radius = magnet.Radius;
            for (int j = 0; j < 3; ++j) {
                if (delta[j] > 0.0f) delta[j] = (delta[j] - radius) / (distance + 1.0f) * gravity;
                else if (delta[j] < 0.0f) delta[j] = (delta[j] + radius) / (distance + 1.0f) * gravity;
            }
            break;
        }
        case 1: {
            // Normalised direction (a zero offset stays zero) scaled by G / (d + 1).
            const float divisor = distance == 0.0f ? 1.0f : distance;
            delta = delta / divisor * (gravity / (distance + 1.0f));
            break;
        }
        case 2: {
            const float divisor = distance == 0.0f ? 1.0f : distance;
            delta = delta / divisor * gravity;
            break;
        }
        default:
            continue;
        }
        total += delta;
    }
    return total;
}

inline void Fade(TParticle& particle) {
    const float lived = particle.LifeLength - particle.LifeLeft;
    if (particle.FadeOut) {
        const float start = particle.LifeLength * particle.BeginFadeOut;
        if (start <= lived) {
            particle.FadeOutAlpha = particle.LifeLeft / (particle.LifeLength - start);
            particle.FadeInAlpha = 0.0f;
        }
    }
    if (particle.FadeIn) {
        const float end = particle.LifeLength * particle.EndFadeIn;
        if (end >= lived) {
            particle.FadeInAlpha = lived / end;
            particle.FadeOutAlpha = 0.0f;
        }
    }
}

inline void Move(const TPassConstants& pass, TParticle& particle) {
    const float dt = pass.Dt;
    const TLanes magnetForce = pass.MagnetCount ? MagnetPull(pass, particle.Position) : Splat(0.0f);
    Store(particle.MagnetForce, magnetForce);
    TLanes impulse = Load(particle.MagnetImpulse) + magnetForce;

    // Inertia damps all three terms, mass only wind and magnets; the unused lane divides by 1.
    const TLanes inertia = Load(particle.Inertia, 1.0f);
    const TLanes mass = Splat(particle.Mass);
    const TLanes one = Splat(1.0f);
    const TLanes target = Load(particle.Force) / (inertia + one) +
                          pass.Wind / (inertia * Splat(10.0f) * mass + one) + impulse / (inertia * mass + one);
    const TLanes step = target * Splat(dt);

    // Climb towards a positive target speed; a negative one accelerates without bound.
    TLanes velocity = Load(particle.Velocity);
    velocity = Select(Abs(velocity - target) > step, velocity + step, velocity);

    if (pass.World) {
        Store(particle.Velocity, velocity);
        CollideWithWorld(*pass.World, particle, dt);
        velocity = Load(particle.Velocity);
    }
    velocity *= Splat(1.0f - particle.AirResistance * dt);
    const TLanes position = Load(particle.Position) + velocity * Splat(dt);
    impulse *= one - Splat(dt) / inertia;

    if (pass.Debug) {
        TLanes tip = velocity;
        tip = Select(Abs(tip - step) <= Abs(target), tip + step, tip);
        Store(particle.DebugTip, position + tip * Splat(pass.DebugScale));
    }
    // Only the decay of this step's magnet force stays in the impulse.
    Store(particle.MagnetImpulse, impulse - magnetForce);
    Store(particle.Velocity, velocity);
    Store(particle.Position, position);
    Store(particle.Size, Load(particle.Size) + Load(particle.Enlargement) * Splat(dt));
}

inline void WriteQuad(const TPassConstants& pass, const TParticle& particle, TParticleVertex* out) {
    const TTextureTile& tile = std::uint32_t(particle.Tile) < pass.TileCount ? pass.Tiles[particle.Tile]
                                                                              : wholeTexture;
    const std::uint8_t red = ColorChannelByte(particle.Color.x);
    const std::uint8_t green = ColorChannelByte(particle.Color.y);
    const std::uint8_t blue = ColorChannelByte(particle.Color.z);
    const std::uint8_t alpha = ColorChannelByte(particle.Alpha);
    // The size scales the offset per world axis: x by Size.x, y and z by Size.y.
    const TLanes halfSize{particle.Size.x * 0.5f, particle.Size.y * 0.5f, particle.Size.y * 0.5f, 0.0f};
    const TLanes centre = Load(particle.Position);
    for (int corner = 0; corner < 4; ++corner) {
        const TLanes position = centre + pass.CornerAxes[corner] * halfSize;
        out[corner] = TParticleVertex{tile.U[corner], tile.V[corner], red,         green,      blue,
                                      alpha,          position[0],    position[1], position[2]};
    }
}

} // namespace

TCameraAxes CameraAxesFromModelview(const float modelview[16]) {
    return TCameraAxes{{modelview[0], modelview[4], modelview[8]}, {modelview[1], modelview[5], modelview[9]}};
}

std::uint8_t ColorChannelByte(float value) {
    const float scaled = value * 255.0f;
    // Converting an out-of-range float to an integer is undefined; those (and NaN) give 0.
    if (!(scaled > -2147483648.0f && scaled < 2147483648.0f)) return 0;
    return std::uint8_t(std::uint32_t(std::int32_t(scaled)) & 0xffu);
}

TVector3 ApplyMagnetPoints(const TParticleEffectContainer& container, const TVector3& position) {
    TPassConstants pass{};
    pass.Magnets = container.MagnetPoints.data();
    pass.MagnetCount = container.MagnetPoints.size();
    TVector3 result;
    Store(result, MagnetPull(pass, position));
    return result;
}

std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices) {
    TPassConstants pass{};
    pass.Dt = dt;
    pass.Wind = Load(container.Wind);
    pass.Magnets = container.MagnetPoints.data();
    pass.MagnetCount = container.MagnetPoints.size();
    pass.World = HasCollision(container.World) ? &container.World : nullptr;
    pass.Debug = container.DebugMode;
    pass.DebugScale = container.DebugScale;
    static constexpr float cornerSigns[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int corner = 0; corner < 4; ++corner) {
        pass.CornerAxes[corner] = Load(camera.Right) * Splat(cornerSigns[corner][0]) +
                                  Load(camera.Up) * Splat(cornerSigns[corner][1]);
    }
    pass.Tiles = container.TextureTiles.data();
    pass.TileCount = std::uint32_t(container.TextureTiles.size());

    std::vector<TParticle>& particles = container.Particles;
    std::size_t count = particles.size();
    std::int32_t written = 0;
    std::size_t i = 0;
    while (i < count) {
        TParticle& particle = particles[i];
        particle.LifeLeft -= dt;
        if (particle.LifeLeft < 0.0f) {
            // The particle moved into slot i is processed in this same pass.
            particle = particles[count - 1];
            --count;
            continue;
        }
        Fade(particle);
        particle.Alpha = particle.FadeInAlpha + particle.FadeOutAlpha;
        Move(pass, particle);
        if (vertices) WriteQuad(pass, particle, vertices + written);
        written += 4;
        ++i;
    }
    particles.resize(count);
    return written;
}

} // namespace lumidor
