#pragma once
// Small image files built in memory for the texture tests and the fuzzers' seed corpora.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor::testing {

using TBytes = std::vector<std::uint8_t>;

/// A picture as RGBA bytes, bottom row first (the order the decoders produce).
struct TPicture {
    int Width = 0;
    int Height = 0;
    TBytes Rgba;
};

/// A deterministic colourful picture with varied alpha, so rows and channels cannot be confused.
TPicture MakePattern(int width, int height);
/// The picture's pixels with 3 or 4 channels, bottom row first.
TBytes PictureBytes(const TPicture& picture, int channels);

/// Options of MakeBmp.
struct TBmpOptions {
    bool TopDown = false;          ///< negative height, rows stored top first
    bool ZeroImageSize = false;    ///< 0 in the image-size field
    std::uint32_t ColoursUsed = 0; ///< colour-table entries written (4 bytes each)
    std::uint32_t ExtraHeader = 0; ///< bytes of a longer information header, announced by the data offset
};
/// A 24-bit uncompressed BMP of the picture, rows padded to 4 bytes.
TBytes MakeBmp(const TPicture& picture, const TBmpOptions& options = {});

/// Options of MakeTga.
struct TTgaOptions {
    int Bits = 32;            ///< 24 or 32
    bool RunLength = false;   ///< type 10 instead of 2
    std::string ImageId = {}; ///< written after the header, its length in byte 0
    bool TopOrigin = false;   ///< rows stored top first (descriptor bit 5)
};
/// A true-colour TGA of the picture; run-length data mixes run and raw packets.
TBytes MakeTga(const TPicture& picture, const TTgaOptions& options = {});

/// Colour model of MakeJpeg.
enum class TJpegKind { Rgb, Grey, Cmyk, Progressive };
/// A JPEG of the picture (quality 95); Grey uses the green channel, Cmyk stores inverted inks
/// (Adobe style: C = R, M = G, Y = B, K = 255).
TBytes MakeJpeg(const TPicture& picture, TJpegKind kind = TJpegKind::Rgb);

/// Writes bytes to a file; returns false on failure.
bool WriteBytes(const std::string& path, const TBytes& bytes);

} // namespace lumidor::testing
