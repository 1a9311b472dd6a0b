#pragma once
// The demo's pictures, painted deterministically from code.

#include "tools/datagen/canvas.h"

#include <string>

namespace lumidor::datagen {

/// Side of one atlas tile in pixels; the atlas is 4 x 2 tiles (512 x 256).
inline constexpr int AtlasTileSize = 128;

/// The 2 x 4 particle atlas, RGBA: 0 ring, 1 smoke puff, 2 soft square, 3 flame, 4 glow,
/// 5 spark streak, 6 star flash, 7 snowflake. White shapes whose alpha fades to 0 well inside
/// each tile, so additive blending shows no tile border.
TCanvas MakeAtlas();
/// The 256 x 256 grey height map (one channel): rolling hills cut by a winding valley.
TCanvas MakeHeightMap();
/// The 512 x 256 glyph sheet (one channel): ASCII 33..126 in 32 x 32 cells at code = row x 16 +
/// column, each glyph at most 15 pixels wide (text advances half a cell) and starting 12 pixels in;
/// read from the TrueType file `fontPath`.
/// Returns an empty canvas when the font cannot be read.
TCanvas MakeFontSheet(const std::string& fontPath);
/// The 800 x 276 RGB logo banner with the word "Lumidor" in `fontPath` and a trail of sparks.
TCanvas MakeLogo(const std::string& fontPath, const std::string& taglineFontPath);

} // namespace lumidor::datagen
