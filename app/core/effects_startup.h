#pragma once
// The demo's effects: the running slot, the three scripts and the logo, and the start-up that sets
// them up after the window's OpenGL context is ready.

#include "engine/gl_api.h"
#include "script/particle_script.h"

#include <array>
#include <cstdint>

namespace lumidor {

/// Slot of the running effect (0..18, see EffectMenu); any other value runs nothing.
extern std::int32_t CurrentEffect;
/// The three particle scripts, in file order; slots 11, 12 and 13 run them.
extern std::array<TParticleScript, 3> Scripts;
/// Texture of the logo banner; 0 until loaded, and stays 0 when the logo cannot be read.
extern GLuint LogoTexture;

/// The script files, relative to the working directory ("\" is opened as "/").
inline constexpr std::array<const char*, 3> ScriptFiles = {
    ".\\scripts\\ParticleScript1.psc", ".\\scripts\\ParticleScript2.psc", ".\\scripts\\ParticleScript3.psc"};
/// The logo image, 800 x 276 pixels, relative to the working directory.
inline constexpr const char* LogoFile = ".\\logos\\LDStrip800x276.jpg";

/// Front material (specular, shininess, ambient, diffuse) and GL_LIGHT0 (ambient, diffuse,
/// position) used by the lit terrain; lighting itself stays off.
void SetMaterialAndLight();

/// The effects start-up, in order: InitEffects, InitTerrainEffect, InitTextEffect, CurrentEffect 0,
/// the three scripts, material and light, the logo. Needs a current context with GL_TEXTURE_2D on.
/// An error of a step (an unreadable height map or glyph sheet) propagates and skips the later steps.
void RunEffectsStartup();

} // namespace lumidor
