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
    float InverseCellX, InverseCellZ;   // 1 / cell size, hoisted out of the sweep
    float LastCellX, LastCellZ;         // highest cell index per axis
    TLanes KeptAfterBounce;             // 1 - world friction
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

// Both ramps are evaluated without branches (ages are random across the array, so branches on them
// mispredict); each result is kept only where its window applies, fade-in second so it wins.
inline void Fade(TParticle& particle) {
    const float lived = particle.LifeLength - particle.LifeLeft;
    const float fadeOutStart = particle.LifeLength * particle.BeginFadeOut;
    const float fadeInEnd = particle.LifeLength * particle.EndFadeIn;
    const TLanes ratios = TLanes{particle.LifeLeft, lived, 0.0f, 0.0f} /
                          TLanes{particle.LifeLength - fadeOutStart, fadeInEnd, 1.0f, 1.0f};
    float fadeIn = particle.FadeInAlpha;
    float fadeOut = particle.FadeOutAlpha;
    const bool fadingOut = particle.FadeOut && fadeOutStart <= lived;
    fadeOut = fadingOut ? ratios[0] : fadeOut;
    fadeIn = fadingOut ? 0.0f : fadeIn;
    const bool fadingIn = particle.FadeIn && fadeInEnd >= lived;
    fadeIn = fadingIn ? ratios[1] : fadeIn;
    fadeOut = fadingIn ? 0.0f : fadeOut;
    particle.FadeInAlpha = fadeIn;
    particle.FadeOutAlpha = fadeOut;
}

// Floor of a grid coordinate that is >= 0 inside the world, by truncation (floorf is a library
// call on baseline x86-64); values too large to truncate exactly are whole already.
inline float WholePart(float coordinate) {
    if (coordinate >= 0.0f && coordinate < 8388608.0f) return float(std::int32_t(coordinate));
    return std::floor(coordinate);
}

// The ground test of CollideWithWorld, inlined into the sweep: reciprocals of the cell sizes are
// hoisted, and the bounce uses the identity (2 n (n.d) - d) |V| = V - 2 (n.V) n for d = -V / |V|,
// which needs no square root; both agree within float rounding.
inline TLanes Collide(const TPassConstants& pass, const TVector3& position, TLanes velocity) {
    const TCollisionConvexWorld& world = *pass.World;
    const float dt = pass.Dt;
    const float predictedX = position.x + velocity[0] * dt;
    const float predictedY = position.y + velocity[1] * dt;
    const float predictedZ = position.z + velocity[2] * dt;
    const TVector3& origin = world.Origin;
    if (!(predictedX >= origin.x && predictedX <= origin.x + world.Extent.x && predictedZ >= origin.z &&
          predictedZ <= origin.z + world.Extent.z))
        return velocity;
    const float gridX = (predictedX - origin.x) * pass.InverseCellX;
    const float gridZ = (predictedZ - origin.z) * pass.InverseCellZ;
    const float floorX = WholePart(gridX);
    const float floorZ = WholePart(gridZ);
    // gridX, gridZ >= 0 here; the clamp also keeps a degenerate cell size inside the grid.
    const auto cellX = std::size_t(floorX < pass.LastCellX ? (floorX >= 0.0f ? floorX : 0.0f) : pass.LastCellX);
    const auto cellZ = std::size_t(floorZ < pass.LastCellZ ? (floorZ >= 0.0f ? floorZ : 0.0f) : pass.LastCellZ);
    const float fractionX = gridX - floorX;
    const float fractionZ = gridZ - floorZ;
    const float* column0 = (*world.Heights)[cellX].data() + cellZ;
    const float* column1 = (*world.Heights)[cellX + 1].data() + cellZ;
    const float nearEdge = (1.0f - fractionX) * column0[0] + fractionX * column1[0];
    const float farEdge = (1.0f - fractionX) * column0[1] + fractionX * column1[1];
    const float surface = (1.0f - fractionZ) * nearEdge + fractionZ * farEdge + origin.y;
    // Whether a particle near the ground is in the band flips from frame to frame, so the bounce is
    // computed always and selected without a branch.
    const TVector3& n = world.Normals[cellX][cellZ];
    const TLanes normal = Load(n);
    const float along = n.x * velocity[0] + n.y * velocity[1] + n.z * velocity[2];
    const TLanes bounced = (velocity - normal * Splat(2.0f * along)) * pass.KeptAfterBounce;
    const bool outsideBand = predictedY > surface + 0.2f || predictedY < surface - 0.2f;
    const TLaneMask keep = TLaneMask{} - std::int32_t(outsideBand);
    return Select(keep, velocity, bounced);
}

// Motion is split in two halves run over a small block of particles each: every half is short
// enough that the processor overlaps several particles, where one long per-particle chain of
// square roots, divisions and ground lookups would leave it waiting on latency.
struct TMotionScratch {
    TLanes Target; // A: force, wind and magnet terms, per second
    TLanes Step;   // a = A dt
};

// Magnet force, the impulse it feeds, and the target-speed rule.
inline void Accelerate(const TPassConstants& pass, TParticle& particle, TMotionScratch& scratch) {
    const TLanes magnetForce = pass.MagnetCount ? MagnetPull(pass, particle.Position) : Splat(0.0f);
    Store(particle.MagnetForce, magnetForce);
    const TLanes impulse = Load(particle.MagnetImpulse) + magnetForce;
    Store(particle.MagnetImpulse, impulse);

    // Inertia damps all three terms, mass only wind and magnets; the unused lane divides by 1.
    const TLanes inertia = Load(particle.Inertia, 1.0f);
    const TLanes mass = Splat(particle.Mass);
    const TLanes one = Splat(1.0f);
    const TLanes target = Load(particle.Force) / (inertia + one) +
                          pass.Wind / (inertia * Splat(10.0f) * mass + one) + impulse / (inertia * mass + one);
    const TLanes step = target * Splat(pass.Dt);

    // Climb towards a positive target speed; a negative one accelerates without bound.
    const TLanes velocity = Load(particle.Velocity);
    Store(particle.Velocity, Select(Abs(velocity - target) > step, velocity + step, velocity));
    scratch = TMotionScratch{target, step};
}

// The ground may reflect the velocity.
inline void Bounce(const TPassConstants& pass, TParticle& particle) {
    Store(particle.Velocity, Collide(pass, particle.Position, Load(particle.Velocity)));
}

// Air resistance, position, impulse decay, debug tip and growth.
inline void Advance(const TPassConstants& pass, TParticle& particle, const TMotionScratch& scratch) {
    const float dt = pass.Dt;
    TLanes velocity = Load(particle.Velocity);
    velocity *= Splat(1.0f - particle.AirResistance * dt);
    const TLanes position = Load(particle.Position) + velocity * Splat(dt);
    const TLanes one = Splat(1.0f);
    const TLanes impulse = Load(particle.MagnetImpulse) * (one - Splat(dt) / Load(particle.Inertia, 1.0f));

    if (pass.Debug) {
        TLanes tip = velocity;
        tip = Select(Abs(tip - scratch.Step) <= Abs(scratch.Target), tip + scratch.Step, tip);
        Store(particle.DebugTip, position + tip * Splat(pass.DebugScale));
    }
    // Only the decay of this step's magnet force stays in the impulse.
    Store(particle.MagnetImpulse, impulse - Load(particle.MagnetForce));
    Store(particle.Velocity, velocity);
    Store(particle.Position, position);
    Store(particle.Size, Load(particle.Size) + Load(particle.Enlargement) * Splat(dt));
}

// Colour and alpha to bytes in one go: x 255, truncated toward zero, low 8 bits kept. Lanes whose
// product does not fit a 32-bit integer (and NaN) are zeroed before the conversion, which is only
// defined in range.
inline std::uint32_t PackedColor(const TParticle& particle) {
    const TLanes scaled = TLanes{particle.Color.x, particle.Color.y, particle.Color.z, particle.Alpha} * Splat(255.0f);
    const TLaneMask inRange = (scaled > Splat(-2147483648.0f)) & (scaled < Splat(2147483648.0f));
    const TLaneMask bytes = __builtin_convertvector(Select(inRange, scaled, Splat(0.0f)), TLaneMask) & 0xff;
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

inline void WriteQuad(const TPassConstants& pass, const TParticle& particle, TParticleVertex* out) {
    const TTextureTile& tile = std::uint32_t(particle.Tile) < pass.TileCount ? pass.Tiles[particle.Tile]
                                                                              : wholeTexture;
    const std::uint32_t color = PackedColor(particle);
    // The size scales the offset per world axis: x by Size.x, y and z by Size.y.
    const TLanes halfSize{particle.Size.x * 0.5f, particle.Size.y * 0.5f, particle.Size.y * 0.5f, 0.0f};
    const TLanes centre = Load(particle.Position);
    for (int corner = 0; corner < 4; ++corner) {
        const TLanes position = centre + pass.CornerAxes[corner] * halfSize;
        TParticleVertex& vertex = out[corner];
        vertex.U = tile.U[corner];
        vertex.V = tile.V[corner];
        std::memcpy(&vertex.R, &color, sizeof color); // R, G, B, A in memory order
        vertex.X = position[0];
        vertex.Y = position[1];
        vertex.Z = position[2];
    }
}

void SetWorld(TPassConstants& pass, const TCollisionConvexWorld& world, float dt) {
    pass.Dt = dt;
    pass.World = HasCollision(world) ? &world : nullptr;
    if (!pass.World) return;
    pass.InverseCellX = 1.0f / world.CellSizeX;
    pass.InverseCellZ = 1.0f / world.CellSizeZ;
    pass.LastCellX = float(world.Normals.size() - 1);
    pass.LastCellZ = float(world.Normals[0].size() - 1);
    pass.KeptAfterBounce = Splat(1.0f) - Load(world.WorldFriction);
}

} // namespace

void CollideWithWorld(const TCollisionConvexWorld& world, TParticle& particle, float dt) {
    TPassConstants pass{};
    SetWorld(pass, world, dt);
    if (pass.World) Store(particle.Velocity, Collide(pass, particle.Position, Load(particle.Velocity)));
}

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
    SetWorld(pass, container.World, dt);
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
    std::size_t blockStart = 0;
    constexpr std::size_t blockSize = 16;
    TMotionScratch scratch[blockSize];
    while (blockStart < count) {
        // Age, remove and fade until the block holds blockSize survivors. A dead particle takes the
        // last one's place, and that particle is processed in this same pass.
        std::size_t blockEnd = blockStart;
        while (blockEnd < count && blockEnd - blockStart < blockSize) {
            TParticle& particle = particles[blockEnd];
            particle.LifeLeft -= dt;
            if (particle.LifeLeft < 0.0f) {
                particle = particles[count - 1];
                --count;
                continue;
            }
            Fade(particle);
            particle.Alpha = particle.FadeInAlpha + particle.FadeOutAlpha;
            ++blockEnd;
        }
        const std::size_t blockCount = blockEnd - blockStart;
        TParticle* block = particles.data() + blockStart;
        for (std::size_t k = 0; k < blockCount; ++k) Accelerate(pass, block[k], scratch[k]);
        if (pass.World) {
            for (std::size_t k = 0; k < blockCount; ++k) Bounce(pass, block[k]);
        }
        for (std::size_t k = 0; k < blockCount; ++k) Advance(pass, block[k], scratch[k]);
        if (vertices) {
            for (std::size_t k = 0; k < blockCount; ++k) WriteQuad(pass, block[k], vertices + written + 4 * k);
        }
        written += std::int32_t(4 * blockCount);
        blockStart = blockEnd;
    }
    particles.resize(count);
    return written;
}

} // namespace lumidor
