#pragma once
// The built-in effects: three particle systems shared by every preset, the texture atlas, the
// terrain of the stress test, one shared timer, the start-up routines and one per-frame procedure
// per preset. Selecting another preset resets nothing: particles, container settings and the
// timer carry over from one preset to the next.

#include "effects/frame_time.h"
#include "engine/gl_api.h"
#include "engine/particle_container.h"
#include "engine/vector.h"
#include "terrain/terrain.h"

#include <cstdint>

namespace lumidor {

// Shared objects (alive for the whole run) --------------------------------------------------

/// General system: blend (GL_SRC_ALPHA, GL_DST_ALPHA), a flat floor at y = -1.1 over x, z in -5..5.
extern TParticleEffectContainer FloorEffect;
/// Additive system: blend (GL_SRC_ALPHA, GL_ONE), no collision world.
extern TParticleEffectContainer AdditiveEffect;
/// System whose particles bounce on the height-map terrain; used by the stress test only.
extern TParticleEffectContainer TerrainEffect;
/// Texture name of the 2 x 4 tile atlas "textures.tga"; 0 when it could not be loaded.
extern GLuint AtlasTexture;
/// The terrain drawn by the stress test; its height grid is TerrainEffect's collision world.
extern THeightMapTerrain TerrainMap;
/// World position of the terrain's grid point (0, 0): (-7.5, -5, -7.5) after InitTerrainEffect.
extern TVector3 TerrainOrigin;
/// World friction of TerrainEffect set at start-up: (0.5, 0.5, 0.5).
extern TVector3 TerrainFriction;
/// Seconds, starts at 0; one timer shared by the explosion, magnesium, firework, spiral, effect
/// 1 and 2, stress-test and snow presets, as a cycle clock or a phase; carried over on a switch.
extern float EffectTimer;
/// Id of the spirals' magnet point, which exists only during their container update.
extern std::int32_t MagnetId;

/// Direction of the firework rocket drawn at launch: it flies at (3 dx, 3 dy, 0) units per second.
struct TRocketDirection {
    float dx = 0.0f; ///< in (-0.4, 0.4]
    float dy = 0.0f; ///< in [0.75, 1)
};
/// Firework state: direction of the current rocket.
extern TRocketDirection RocketDirection;
/// Firework state: where the rocket is (recomputed every trail frame; z stays 0).
extern TVector3 RocketPosition;
/// Firework state: true from the burst until the end of the 2.5 s cycle.
extern bool RocketExploded;

// Start-up ----------------------------------------------------------------------------------

/// Loads the atlas "textures.tga" (relative to the working directory) and sets up the three
/// shared systems and the text font's atlas. Needs a current GL context with GL_TEXTURE_2D on.
void InitEffects();
/// Builds TerrainMap from ".\hm.bmp" (256 cells, side 15, height scale 0.03, 2 smoothing
/// passes) and makes its grid TerrainEffect's collision world. A height map that cannot be read
/// propagates the reader's error before the collision world is installed.
void InitTerrainEffect();

// Preset procedures: call one per frame, after FrameTime has been written ----------------------

void FirePreset();             ///< flames in FloorEffect (300) with smoke above in AdditiveEffect (20)
void Smoke1Preset();           ///< 200 dark puffs drifting in a 6 x 4 x 1 box (FloorEffect)
void Smoke2Preset();           ///< a column of 200 puffs rising from a line source (FloorEffect)
void BurnerPreset();           ///< a blue flame of 400 particles (FloorEffect)
void AflamedMagnesiumPreset(); ///< 41 smoke puffs, a flash every 0.05 s and rare spark showers
void ExplosionPreset();        ///< one burst of 166 particles every 2 s (FloorEffect)
void FireworkPreset();         ///< a 2.5 s cycle of rocket, trail, burst and glitter
void Spiral1Preset();          ///< 1200 dots twisted by a pulsing radial magnet (mode 1), 8 s cycle
void Spiral2Preset();          ///< the same spokes under a per-axis magnet (mode 0), 5 s cycle
void Spiral3Preset();          ///< sine strands under a constant radial magnet (mode 2), 8 s cycle
void MagicWaterPreset();       ///< 800 falling drops (AdditiveEffect) and 30 splashes (FloorEffect)
void Effect1Preset();          ///< a ring of 300 flames with a 2000-drop fountain, tilted 25 degrees
void Effect2Preset();          ///< a pulsing fountain of 2000 drops settling on the floor
void SnowPreset();             ///< 10000 flakes settling on the floor
void StressTestPreset();       ///< 10000 particles raining on the lit terrain (TerrainEffect)
void ScriptFloorPreset();      ///< the dark-blue floor quad drawn under the third script

/// Direction angle of the stress test's jet for a timer value: the timer folded into
/// [0, 6.2831) radians with four decimals (trunc(timer * 10000) mod 62831, over 10000).
float StressTestPhase(float timer);

// Test aid ----------------------------------------------------------------------------------

/// Returns every global of this module (the three systems, atlas name, terrain, timer, magnet
/// id, firework state and TextFont) to its zero state, as before InitEffects; buffer objects are
/// not deleted. For tests only: the demo never calls it.
void ResetEffectsForTesting();

} // namespace lumidor
