#pragma once
// The three image decoders. They work on the bytes of a whole file held in memory, touch no GL and
// no message box, and never read or write outside their buffers: any input gives either an image
// or the exact message that the texture readers show for it.

#include "image.h"

#include <cstdint>
#include <span>
#include <string>

namespace lumidor {

/// Decodes an uncompressed 24-bit Windows bitmap (bottom-up or top-down, rows padded to 4 bytes)
/// into RGB. Messages use the caption "BMP Unit". `maxPixels` caps width x height.
TDecodeResult DecodeBmp(std::span<const std::uint8_t> file, std::size_t maxPixels = MaxImagePixels);

/// Decodes a true-colour Targa file (type 2 plain or 10 run-length encoded, 24 or 32 bits) into
/// RGB or RGBA. `fileName` appears quoted in the messages (caption "TGA File Error").
TDecodeResult DecodeTga(std::span<const std::uint8_t> file, const std::string& fileName,
                        std::size_t maxPixels = MaxImagePixels);

/// Decodes a JPEG file at full size into RGBA with alpha 255 (colour, greyscale or CMYK). Any
/// failure gives "Couldn't load JPG - " and the quoted `fileName`, caption "BMP Unit".
TDecodeResult DecodeJpeg(std::span<const std::uint8_t> file, const std::string& fileName,
                         std::size_t maxPixels = MaxImagePixels);

} // namespace lumidor
