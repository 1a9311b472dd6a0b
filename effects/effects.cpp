// The effects module's shared objects and its start-up.

#include "effects/effects.h"
#include "effects/text_effect.h"
#include "textures/textures.h"

namespace lumidor {

TParticleEffectContainer FloorEffect;
TParticleEffectContainer AdditiveEffect;
TParticleEffectContainer TerrainEffect;
GLuint AtlasTexture = 0;
THeightMapTerrain TerrainMap;
TVector3 TerrainOrigin;
TVector3 TerrainFriction;
float EffectTimer = 0.0f;
std::int32_t MagnetId = 0;
TRocketDirection RocketDirection;
TVector3 RocketPosition;
bool RocketExploded = false;

namespace {

// The atlas holds 2 rows of 4 tiles: 0 ring, 1 smoke puff, 2 soft square, 3 flame, 4 glow,
// 5 spark, 6 star flash, 7 snowflake.
constexpr std::int32_t AtlasRows = 2;
constexpr std::int32_t AtlasColumns = 4;

} // namespace

void InitEffects() {
    // A missing atlas has already been reported by the loader; the particles then draw untextured.
    LoadTextureFile("textures.tga", AtlasTexture);
    SetTextureProperties(FloorEffect, AtlasTexture, AtlasRows, AtlasColumns);
    // A flat 10 x 10 floor at y = -1.1 centred under the origin.
    auto floor = std::make_shared<const HDataArray>(HDataArray{{0.0f, 0.0f}, {0.0f, 0.0f}});
    SetCollisionWorld(FloorEffect, floor, {-5.0f, -1.1f, -5.0f}, 10.0f, 10.0f);
    SetWorldFriction(FloorEffect, {0.2f, 0.4f, 0.2f});
    SetTextureProperties(AdditiveEffect, AtlasTexture, AtlasRows, AtlasColumns);
    SetBlendFactor(FloorEffect, GL_SRC_ALPHA, GL_DST_ALPHA);
    SetBlendFactor(AdditiveEffect, GL_SRC_ALPHA, GL_ONE);
    SetTextureProperties(TerrainEffect, AtlasTexture, AtlasRows, AtlasColumns);
    SetBlendFactor(TerrainEffect, GL_SRC_ALPHA, GL_DST_ALPHA);
    SetTextureProperties(TextFont, AtlasTexture, AtlasRows, AtlasColumns);
}

void InitTerrainEffect() {
    TerrainOrigin = {-7.5f, -5.0f, -7.5f};
    TerrainFriction = {0.5f, 0.5f, 0.5f};
    // Throws when the height map cannot be read; the collision world is then left empty.
    LoadHeightMap(TerrainMap, ".\\hm.bmp", 256, 15.0f, 0.03f, 2);
    const float cellSize = TerrainCellSize(TerrainMap);
    SetCollisionWorld(TerrainEffect, TerrainHeights(TerrainMap), TerrainOrigin, cellSize, cellSize);
    SetWorldFriction(TerrainEffect, TerrainFriction);
}

void ResetEffectsForTesting() {
    FloorEffect = TParticleEffectContainer{};
    AdditiveEffect = TParticleEffectContainer{};
    TerrainEffect = TParticleEffectContainer{};
    AtlasTexture = 0;
    TerrainMap = THeightMapTerrain{};
    TerrainOrigin = TVector3{};
    TerrainFriction = TVector3{};
    EffectTimer = 0.0f;
    MagnetId = 0;
    RocketDirection = TRocketDirection{};
    RocketPosition = TVector3{};
    RocketExploded = false;
    TextFont = TParticleFont{};
}

} // namespace lumidor
