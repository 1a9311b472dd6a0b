#pragma once
// The Text preset: one global particle font set up at start-up and drawn every frame.

#include "font/particle_font.h"

#include <string>

namespace lumidor {

/// The font of the Text preset; InitEffects hands it the atlas texture (2 rows, 4 columns).
extern TParticleFont TextFont;

/// The four lines (separated by character 13) that the Text preset writes.
std::string TextMessage();

/// Reads the glyph sheet "fonts\font.bmp" (relative to the working directory) into TextFont,
/// applies the text particles' settings and sets the message. Call once after InitEffects.
/// Throws std::runtime_error naming the file when the sheet cannot be read; TextFont then keeps
/// no glyphs, settings or text.
void InitTextEffect();
/// Writes the message at (-2.9, 2, 0) with cells of 0.45 units, advancing by FrameTime.
void TextPreset();

} // namespace lumidor
