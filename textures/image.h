#pragma once
// A decoded picture, kept apart from any GL upload: what the BMP, TGA and JPEG decoders return.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// Largest width or height a decoder accepts: sizes reach GL as unsigned 16-bit values.
inline constexpr int MaxImageSide = 65535;
/// Default cap on width x height (8192 x 8192, 256 MiB as RGBA); bigger images are refused.
inline constexpr std::size_t MaxImagePixels = std::size_t(8192) * 8192;
/// The readers never load more than this many bytes of a file (larger than any accepted image).
inline constexpr std::size_t MaxImageFileBytes = std::size_t(512) << 20;

/// A decoded image: `Channels` bytes per pixel (3 = red, green, blue; 4 = red, green, blue, alpha),
/// rows tightly packed, the first row in memory the bottom row of the picture (GL's t = 0).
struct TImage {
    int Width = 0;                    ///< pixels, 1..MaxImageSide
    int Height = 0;                   ///< pixels, 1..MaxImageSide
    int Channels = 0;                 ///< 3 or 4
    std::vector<std::uint8_t> Pixels; ///< Width x Height x Channels bytes
};

/// Either a decoded image (`Ok`) or the message box text and caption that explain why there is none.
struct TDecodeResult {
    bool Ok = false;     ///< true: Image holds the picture
    TImage Image;        ///< valid when Ok
    std::string Text;    ///< message text when not Ok
    std::string Caption; ///< message caption when not Ok
};

/// A failed decode carrying its message.
TDecodeResult DecodeFailure(std::string text, std::string caption);
/// A successful decode carrying its image.
TDecodeResult DecodeSuccess(TImage image);

/// Reverses the order of the rows in place (top-down storage to bottom row first).
void FlipRows(TImage& image);
/// The file name between two double quotation marks, as the messages show it.
std::string Quoted(const std::string& fileName);

} // namespace lumidor
