#pragma once
// Text written with particles: a font scanned from a 16 x 8 sheet of glyph cells, each glyph a set
// of points, and one particle system whose particles shimmer on the points of the current text.

#include "../engine/particle_container.h"
#include "../engine/vector.h"
#include "rgb_image.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// A lit glyph pixel in cell units: x in (0, 1] to the right, y in [-1, 0) downwards from the
/// cell's top-left corner.
struct TLetterPoint {
    float x = 0.0f; ///< to the right, cell widths
    float y = 0.0f; ///< downwards (negative), cell heights
};

/// One glyph: its lit pixels and, when scanned with colours, their colours in the same order.
struct TLetter {
    std::vector<TLetterPoint> Points; ///< lit pixels of the glyph
    std::vector<TVector3> Colors;     ///< red, green, blue in 0..1; empty unless colours were stored
};

/// A particle font; the value-initialised record is a valid empty font (no glyphs, no text).
struct TParticleFont {
    std::array<TLetter, 129> Letters;        ///< glyph of character code i (0..127); entry 128 stays empty
    std::int32_t TextLength = 0;             ///< characters in Text
    std::int32_t CellWidth = 0;              ///< glyph cell width in pixels, set by LoadGlyphs
    std::int32_t Tile = 0;                   ///< atlas tile of every text particle
    std::int32_t TotalParticles = 0;         ///< particles aimed at for the current text (proportional mode)
    std::int32_t ParticlesPerLetter = 0;     ///< budget of the fullest glyph, or of every character
    std::vector<std::int32_t> LetterIndices; ///< glyph index of each character of Text
    std::vector<float> LetterShares;         ///< each character's share of the missing particles
    std::string Text;                        ///< the text shown; character 13 starts a new line
    std::string DistributedText;             ///< text the shares were last computed for
    bool StoreColors = false;                ///< points carry their pixel colour and particles take it
    bool FadeIn = false;                     ///< passed to SetParticleFading
    bool FadeOut = false;                    ///< passed to SetParticleFading
    TVector3 Force;                          ///< passed to SetParticleForce
    TVector3 VelocityBase;           ///< particle velocity = VelocityBase + R * VelocityRange per axis
    TVector3 VelocityRange;          ///< see VelocityBase
    TVector3 Color;                  ///< particle colour when StoreColors is false
    TVector3 Inertia;                ///< passed to SetParticleInertia
    TVector3 Enlargement;            ///< passed to SetParticleEnlargement
    TVector3 Size;                   ///< billboard size of every text particle, world units
    float EndFadeIn = 0.0f;          ///< fraction of life, passed to SetParticleEndFadeIn
    float BeginFadeOut = 0.0f;       ///< fraction of life, passed to SetParticleBeginFadeOut
    float Mass = 0.0f;               ///< passed to SetParticleMass
    float LifeBase = 0.0f;           ///< particle life = LifeBase + R * LifeRange, seconds
    float LifeRange = 0.0f;          ///< see LifeBase
    float AirResistance = 0.0f;      ///< passed to SetParticleAirResistance
    TParticleEffectContainer Effect; ///< holds and draws the text particles
    bool Proportional = false;       ///< quotas proportional to each glyph's point count
};

/// Scans the 16 x 8 glyph cells of `bitmap` (cell size (W - 1) div 16 + 1 by (H - 1) div 8 + 1
/// pixels) and appends every pixel with a channel / 255 strictly above `threshold` (0..1) as a point.
void LoadGlyphs(TParticleFont& font, const TRgbImage& bitmap, std::int32_t particlesPerLetter,
                float threshold, bool proportional, bool storeColors);
/// Sets the text; its quotas are recomputed on the next UpdateAndDraw.
void SetText(TParticleFont& font, const std::string& text);
/// Glyph index of a character: its code when below 128, else 0.
std::int32_t LetterIndexOf(char character);

/// Forwards to SetBlendFactor of the font's container.
void SetBlendFactor(TParticleFont& font, GLenum src, GLenum dst);
/// Forwards to SetTextureProperties of the font's container (atlas of rows x columns tiles).
void SetTextureProperties(TParticleFont& font, GLuint texture, std::int32_t rows, std::int32_t columns);
/// Atlas tile and life (lifeBase + R * lifeRange seconds) of new text particles.
void SetTileAndLife(TParticleFont& font, std::int32_t tile, float lifeBase, float lifeRange);
/// Billboard size of new text particles, world units.
void SetSize(TParticleFont& font, const TVector3& size);
/// Force of new text particles.
void SetForce(TParticleFont& font, const TVector3& force);
/// Colour (0..1 per channel) of new text particles when colours are not stored.
void SetColor(TParticleFont& font, const TVector3& color);
/// Inertia of new text particles (the particle setter raises components below 0.1).
void SetInertia(TParticleFont& font, const TVector3& inertia);
/// Mass of new text particles.
void SetMass(TParticleFont& font, float mass);
/// Fade ramps of new text particles.
void SetFading(TParticleFont& font, bool fadeOut, bool fadeIn);
/// Fraction of life (0..1) over which new text particles fade in.
void SetEndFadeIn(TParticleFont& font, float fraction);
/// Fraction of life (0..1) after which new text particles fade out.
void SetBeginFadeOut(TParticleFont& font, float fraction);

/// Tops the text's particles up (spreading the missing ones over the characters), then advances
/// and draws the font's container. `origin`: world position of the top-left corner of the first
/// character cell; `cellSize`: world size of a glyph cell (the pen advances cellSize / 2 per
/// character, a carriage return moves it cellSize down); `frameTime` in seconds. An empty text, or
/// one whose glyphs have no points, only advances the container.
void UpdateAndDraw(TParticleFont& font, const TVector3& origin, float cellSize, float frameTime);

} // namespace lumidor
