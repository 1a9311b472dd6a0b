#pragma once
// A picture of a texture atlas for script authors: the texture as particles show it (the top of the
// picture is the texture's top, V = 1), enlarged when its tiles are small, with the tile borders drawn
// and each tile's number, as "textureproperties(ROWS,COLUMNS)" numbers the tiles, written in its
// top-left corner in a small built-in digit font. The tiles' places come from the engine's own
// SetTextureProperties, so the picture cannot disagree with what the particles draw. Pure: an image
// in, an image out.

#include "textures/image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace lumidor {

/// An RGB picture stored top row first, as a PNG file stores its rows.
struct TAtlasPicture {
    int Width = 0;                 ///< pixels
    int Height = 0;                ///< pixels
    std::vector<std::uint8_t> Rgb; ///< Width x Height x 3 bytes, top row first
};

/// One tile's rectangle in a picture of Width x Height pixels, top row first.
struct TAtlasTileRect {
    int X0 = 0; ///< first column of the tile
    int Y0 = 0; ///< first row of the tile, counted from the top
    int X1 = 0; ///< one past its last column
    int Y1 = 0; ///< one past its last row
};

/// Largest side of the picture; the enlargement stops below it.
inline constexpr int MaxAtlasPictureSide = 8192;
/// Tiles whose smaller side is below this many pixels are enlarged (by a whole factor).
inline constexpr int AtlasTargetTileSide = 96;

/// The 3 x 5 glyph of a digit 0..9: five rows from the top, bit 2 the left pixel, bit 0 the right.
std::array<std::uint8_t, 5> AtlasDigitRows(int digit);
/// Width of a number's black box at font scale `size`: a margin of `size`, then 4 x `size` per digit.
int AtlasNumberBoxWidth(int digits, int size);
/// Height of a number's black box at font scale `size`: the glyph's 5 rows and a margin above and below.
int AtlasNumberBoxHeight(int size);

/// The rectangles of the rows x columns tiles of a picture of `width` x `height` pixels, indexed by
/// tile number, from the texture coordinates SetTextureProperties gives them. rows and columns >= 1.
std::vector<TAtlasTileRect> AtlasTileRects(int width, int height, std::int32_t rows, std::int32_t columns);

/// The whole factor (1 or more) the texture is enlarged by, so that its smaller tile side reaches
/// AtlasTargetTileSide where the picture stays within MaxAtlasPictureSide.
int AtlasPictureScale(int width, int height, std::int32_t rows, std::int32_t columns);

/// The picture of `texture` (a decoded image, bottom row first) cut into rows x columns tiles:
/// enlarged by AtlasPictureScale, transparent parts over a dark checkerboard, tile borders in yellow
/// and every tile's number in white on black in its top-left corner, where it fits. `unnumbered`
/// receives how many tiles were too small for their number. rows and columns >= 1.
TAtlasPicture MakeAtlasPicture(const TImage& texture, std::int32_t rows, std::int32_t columns,
                               std::int64_t& unnumbered);

} // namespace lumidor
