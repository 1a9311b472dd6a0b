// Windows bitmap decoding: the 14-byte file header, the 40-byte (or longer) information header,
// an optional colour table, then 24-bit pixels in rows padded to a multiple of 4 bytes.

#include "textures/decoders.h"

#include <cstdlib>

namespace lumidor {

namespace {

constexpr const char* BmpCaption = "BMP Unit";
constexpr std::size_t FileHeaderBytes = 14;
constexpr std::size_t InfoHeaderBytes = 40;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
           std::uint32_t(bytes[at + 3]) << 24;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

} // namespace

TDecodeResult DecodeBmp(std::span<const std::uint8_t> file, std::size_t maxPixels) {
    const std::size_t headersEnd = FileHeaderBytes + InfoHeaderBytes;
    if (file.size() < headersEnd || ReadU32(file, 14) < InfoHeaderBytes)
        return DecodeFailure("Error reading bitmap header", BmpCaption);
    const std::uint32_t dataOffset = ReadU32(file, 10);
    const std::int64_t width = std::int32_t(ReadU32(file, 18));
    const std::int64_t signedHeight = std::int32_t(ReadU32(file, 22));
    const std::uint16_t bitsPerPixel = ReadU16(file, 28);
    const std::uint32_t compression = ReadU32(file, 30);
    const std::uint32_t imageSize = ReadU32(file, 34);
    const std::uint32_t coloursUsed = ReadU32(file, 46);

    // The colour table is skipped, not used; 64-bit sums keep a huge count from wrapping.
    const std::uint64_t tableEnd = headersEnd + std::uint64_t(coloursUsed) * 4;
    if (tableEnd > file.size()) return DecodeFailure("Error reading palette", BmpCaption);

    if (bitsPerPixel != 24 || compression != 0)
        return DecodeFailure("Only uncompressed 24 bit bitmaps supported", BmpCaption);
    // A negative height marks rows stored top-down.
    const std::int64_t height = std::llabs(signedHeight);
    if (width <= 0 || height == 0 || width > MaxImageSide || height > MaxImageSide ||
        std::uint64_t(width * height) > maxPixels)
        return DecodeFailure("Invalid bitmap dimensions", BmpCaption);

    const std::uint64_t stride = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
    const std::uint64_t dataBytes = stride * std::uint64_t(height);
    if (imageSize != 0 && imageSize < dataBytes)
        return DecodeFailure("Invalid bitmap image size", BmpCaption);
    // Pixels normally follow the colour table; writers with longer information headers say
    // where they start in the data-offset field.
    std::uint64_t dataStart = tableEnd;
    if (dataOffset > tableEnd && dataOffset <= file.size()) dataStart = dataOffset;
    if (dataStart + dataBytes > file.size()) return DecodeFailure("Error reading bitmap data", BmpCaption);

    TImage image;
    image.Width = int(width);
    image.Height = int(height);
    image.Channels = 3;
    image.Pixels.resize(std::size_t(width * height * 3));
    const bool topDown = signedHeight < 0;
    for (std::int64_t row = 0; row < height; ++row) {
        const std::uint8_t* in = file.data() + dataStart + std::uint64_t(row) * stride;
        const std::int64_t outRow = topDown ? height - 1 - row : row;
        std::uint8_t* out = image.Pixels.data() + std::size_t(outRow * width * 3);
        for (std::int64_t x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return DecodeSuccess(std::move(image));
}

} // namespace lumidor
