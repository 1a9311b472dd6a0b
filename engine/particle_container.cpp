#include "engine/particle_container.h"

#include "engine/particle_blocks.h"
#include "engine/particle_trails.h"

#include <algorithm>
#include <cmath>

namespace lumidor {

namespace {

// Last point (highest index) whose Id matches, or null: ids are reused after removals and the
// newest holder must win.
TMagnetPoint* FindMagnetPoint(TParticleEffectContainer& container, std::int32_t id) {
    for (auto point = container.MagnetPoints.rbegin(); point != container.MagnetPoints.rend(); ++point) {
        if (point->Id == id) return &*point;
    }
    return nullptr;
}

// Setters take the caller's index as given: one outside the particles would write past the blocks,
// so it is ignored instead.
bool HoldsParticle(const TParticleEffectContainer& container, std::int32_t index) {
    return index >= 0 && std::size_t(index) < container.Particles.size();
}

} // namespace

void AddParticle(TParticleEffectContainer& container, const TVector3& position, const TVector3& size,
                 const TVector3& color, std::int32_t tile, float lifeLength) {
    TParticle particle;
    particle.Tile = tile;
    particle.Position = position;
    particle.Size = size;
    particle.Color = color;
    particle.LifeLength = lifeLength;
    particle.LifeLeft = lifeLength;
    container.Particles.push_back(particle);

    // Grow the vertex stream in steps of ten particles; storage is respecified every frame, so only
    // the name changes here. A program without GL keeps no buffer: UpdateAndDraw then only simulates,
    // and the first AddParticle after GL is set up makes a buffer large enough for every particle.
    const std::int64_t newest = std::int64_t(container.Particles.size()) - 1;
    if (GLAvailable() && 4 * newest >= container.BufferCapacity) {
        GL.DeleteBuffersARB(1, &container.VertexBuffer);
        container.BufferCapacity = std::int32_t(4 * newest + 40);
        GL.GenBuffersARB(1, &container.VertexBuffer);
    }
}

namespace {

TVector3 ClampedInertia(const TVector3& inertia) {
    constexpr float minimum = 0.1f;
    return {inertia.x < minimum ? minimum : inertia.x, inertia.y < minimum ? minimum : inertia.y,
            inertia.z < minimum ? minimum : inertia.z};
}

// The size AddParticle leaves the buffer object at once particles up to index `last` are added one
// by one, from `capacity`: it grows to 4h + 40 vertices at each index h that no longer fits.
std::int32_t GrownCapacity(std::int32_t capacity, std::int64_t first, std::int64_t last) {
    for (std::int64_t h = std::max(first, (std::int64_t(capacity) + 3) / 4); h <= last;
         h = (std::int64_t(capacity) + 3) / 4)
        capacity = std::int32_t(4 * h + 40);
    return capacity;
}

} // namespace

void AddParticles(TParticleEffectContainer& container, const TSharedParticleValues& shared,
                  std::int32_t count, const std::function<TParticleSpawn()>& next) {
    if (count <= 0) return;
    // One block of eight alike particles as the setters leave them; each new particle is a copy of
    // its lane with its own values written over.
    TParticle record;
    record.Tile = shared.Tile;
    record.Color = shared.Color;
    record.Force = shared.Force;
    record.Inertia = ClampedInertia(shared.Inertia);
    record.Enlargement = shared.Enlargement;
    record.Mass = std::fabs(shared.Mass);
    record.FadeOut = shared.FadeOut;
    record.FadeIn = shared.FadeIn;
    if (shared.FadeIn) record.FadeOutAlpha = 0.0f;
    record.BeginFadeOut = shared.BeginFadeOut;
    record.EndFadeIn = shared.EndFadeIn;
    record.FadeOutAlpha = shared.EndFadeIn == 0.0f ? 1.0f : 0.0f;
    record.AirResistance = shared.AirResistance;
    TParticleArray model;
    for (std::size_t lane = 0; lane < kParticleBlockLanes; ++lane)
        model.push_back(record);
    const TParticleFields alike = model.Fields();

    TParticleArray& particles = container.Particles;
    const std::size_t first = particles.AppendUnwritten(std::size_t(count));
    const std::size_t end = first + std::size_t(count);
    const TParticleFields fields = particles.Fields();
    const bool rotating = container.Rotating; // otherwise every particle keeps the model's 0, 0
    for (std::size_t index = first; index < end; ++index) {
        const std::size_t lane = index % kParticleBlockLanes;
        TParticleBlock& block = fields.Blocks[index / kParticleBlockLanes];
        if (lane == 0 && index + kParticleBlockLanes <= end) {
            block = alike.Blocks[0];
            fields.Cold[index / kParticleBlockLanes] = alike.Cold[0];
            fields.Turn[index / kParticleBlockLanes] = alike.Turn[0];
        } else if (lane == 0 || index == first) {
            for (std::size_t in = lane; in < kParticleBlockLanes && index - lane + in < end; ++in)
                CopyParticle(alike, in, fields, index - lane + in);
        }
        const TParticleSpawn spawn = next();
        block.Position.x[lane] = spawn.Position.x;
        block.Position.y[lane] = spawn.Position.y;
        block.Position.z[lane] = spawn.Position.z;
        block.Size.x[lane] = spawn.Size.x;
        block.Size.y[lane] = spawn.Size.y;
        block.Size.z[lane] = spawn.Size.z;
        block.Velocity.x[lane] = spawn.Velocity.x;
        block.Velocity.y[lane] = spawn.Velocity.y;
        block.Velocity.z[lane] = spawn.Velocity.z;
        block.LifeLength[lane] = spawn.LifeLength;
        fields.LifeLeft[index] = spawn.LifeLength;
        if (rotating) {
            TParticleTurnBlock& turn = fields.Turn[index / kParticleBlockLanes];
            turn.Angle[lane] = spawn.Angle;
            turn.Spin[lane] = spawn.Spin;
        }
    }

    if (!GLAvailable()) return;
    const std::int32_t capacity =
        GrownCapacity(container.BufferCapacity, std::int64_t(first), std::int64_t(end) - 1);
    if (capacity == container.BufferCapacity) return;
    GL.DeleteBuffersARB(1, &container.VertexBuffer);
    container.BufferCapacity = capacity;
    GL.GenBuffersARB(1, &container.VertexBuffer);
}

std::int32_t ParticleCount(const TParticleEffectContainer& container) {
    return std::int32_t(container.Particles.size());
}

void RemoveParticle(TParticleEffectContainer& container, std::int32_t index) {
    if (!HoldsParticle(container, index)) return;
    TParticleArray& particles = container.Particles;
    CopyParticle(particles.Fields(), particles.size() - 1, std::size_t(index));
    particles.pop_back();
}

void SetParticleForce(TParticleEffectContainer& container, const TVector3& force, std::int32_t index) {
    if (!HoldsParticle(container, index)) return;
    container.Particles[std::size_t(index)].Force = force;
}

void SetParticleVelocity(TParticleEffectContainer& container, const TVector3& velocity, std::int32_t index) {
    if (!HoldsParticle(container, index)) return;
    TParticleView particle = container.Particles[std::size_t(index)];
    particle.Velocity = {velocity.x / particle.Mass, velocity.y / particle.Mass, velocity.z / particle.Mass};
}

void SetParticleEnlargement(TParticleEffectContainer& container, const TVector3& enlargement,
                            std::int32_t index) {
    if (!HoldsParticle(container, index)) return;
    container.Particles[std::size_t(index)].Enlargement = enlargement;
}

void SetParticleInertia(TParticleEffectContainer& container, const TVector3& inertia, std::int32_t index) {
    if (!HoldsParticle(container, index)) return;
    const auto slot = std::size_t(index);
    TParticleBlock& block = BlockOf(container.Particles, slot);
    const std::size_t lane = slot % kParticleBlockLanes;
    SetBlockInertiaAndMass(block, lane, ClampedInertia(inertia), block.Mass[lane]);
}

void SetParticleMass(TParticleEffectContainer& container, std::int32_t index, float mass) {
    if (!HoldsParticle(container, index)) return;
    const auto slot = std::size_t(index);
    TParticleBlock& block = BlockOf(container.Particles, slot);
    const std::size_t lane = slot % kParticleBlockLanes;
    SetBlockInertiaAndMass(block, lane, container.Particles[slot].Inertia, std::fabs(mass));
}

void SetParticleBeginFadeOut(TParticleEffectContainer& container, std::int32_t index, float fraction) {
    if (!HoldsParticle(container, index)) return;
    container.Particles[std::size_t(index)].BeginFadeOut = fraction;
}

void SetParticleEndFadeIn(TParticleEffectContainer& container, std::int32_t index, float fraction) {
    if (!HoldsParticle(container, index)) return;
    TParticleView particle = container.Particles[std::size_t(index)];
    particle.EndFadeIn = fraction;
    // A particle that fades in starts invisible.
    particle.FadeOutAlpha = fraction == 0.0f ? 1.0f : 0.0f;
}

void SetParticleAirResistance(TParticleEffectContainer& container, std::int32_t index, float value) {
    if (!HoldsParticle(container, index)) return;
    container.Particles[std::size_t(index)].AirResistance = value;
}

void SetParticleRotation(TParticleEffectContainer& container, std::int32_t index, float angle, float spin) {
    if (!HoldsParticle(container, index)) return;
    container.Rotating = true;
    TParticleView particle = container.Particles[std::size_t(index)];
    particle.Angle = angle;
    particle.Spin = spin;
}

void TranslateParticles(TParticleEffectContainer& container, const TVector3& offset) {
    TParticleArray& particles = container.Particles;
    for (std::size_t i = 0; i < particles.size(); ++i) {
        TVector3View position = particles[i].Position;
        position.x += offset.x;
        position.y += offset.y;
        position.z += offset.z;
    }
    TranslateTrails(container, offset);
}

void SetParticleFading(TParticleEffectContainer& container, bool fadeOut, bool fadeIn, std::int32_t index) {
    if (!HoldsParticle(container, index)) return;
    TParticleView particle = container.Particles[std::size_t(index)];
    particle.FadeOut = fadeOut;
    particle.FadeIn = fadeIn;
    if (fadeIn) particle.FadeOutAlpha = 0.0f;
}

void SetTextureProperties(TParticleEffectContainer& container, GLuint texture, std::int32_t rows,
                          std::int32_t columns) {
    rows = rows < 0 ? 0 : rows;
    columns = columns < 0 ? 0 : columns;
    container.TextureTiles.assign(std::size_t(rows) * std::size_t(columns), TTextureTile{});
    // Base corners (u, v offsets in tiles) of top-right, top-left, bottom-left, bottom-right.
    static constexpr float baseU[4] = {1, 0, 0, 1};
    static constexpr float baseV[4] = {0, 0, 1, 1};
    const float columnWidth = 1.0f / float(columns);
    const float rowHeight = 1.0f / float(rows);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < columns; ++column) {
            TTextureTile& tile = container.TextureTiles[std::size_t(row * columns + column)];
            for (int corner = 0; corner < 4; ++corner) {
                tile.U[corner] = (float(column) + baseU[corner]) * columnWidth;
                tile.V[corner] = (float(rows) - (float(row) + baseV[corner])) * rowHeight;
            }
        }
    }
    container.Texture = texture;
}

void SetBlendFactor(TParticleEffectContainer& container, GLenum src, GLenum dst) {
    container.BlendSrc = src;
    container.BlendDst = dst;
}

void SetWind(TParticleEffectContainer& container, const TVector3& wind) {
    container.Wind = wind;
}

void SetDebugScale(TParticleEffectContainer& container, float scale) {
    container.DebugScale = scale;
}

bool ToggleDebugMode(TParticleEffectContainer& container) {
    container.DebugMode = !container.DebugMode;
    if (!(container.DebugScale > 0.0f)) container.DebugScale = 1.0f;
    return container.DebugMode;
}

std::int32_t AddMagnetPoint(TParticleEffectContainer& container, const TVector3& position, float radius,
                            float gravity) {
    const auto id = std::int32_t(container.MagnetPoints.size());
    container.MagnetPoints.push_back(TMagnetPoint{position, std::fabs(radius), gravity, id, 1});
    return id;
}

void RemoveMagnetPoint(TParticleEffectContainer& container, std::int32_t id) {
    TMagnetPoint* point = FindMagnetPoint(container, id);
    if (!point) return;
    *point = container.MagnetPoints.back();
    container.MagnetPoints.pop_back();
}

void SetMagnetRadius(TParticleEffectContainer& container, std::int32_t id, float radius) {
    if (TMagnetPoint* point = FindMagnetPoint(container, id)) point->Radius = radius;
}

void SetMagnetGravity(TParticleEffectContainer& container, std::int32_t id, float gravity) {
    if (TMagnetPoint* point = FindMagnetPoint(container, id)) point->Gravity = gravity;
}

void SetMagnetPosition(TParticleEffectContainer& container, const TVector3& position, std::int32_t id) {
    if (TMagnetPoint* point = FindMagnetPoint(container, id)) point->Position = position;
}

void SetMagnetMode(TParticleEffectContainer& container, std::int32_t mode, std::int32_t id) {
    if (TMagnetPoint* point = FindMagnetPoint(container, id)) point->Mode = mode;
}

} // namespace lumidor
