// Targa decoding: an 18-byte header, an optional image-ID field, then true-colour pixels stored
// plainly (type 2) or as run-length packets (type 10), in BGR(A) order.

#include "textures/decoders.h"

#include <algorithm>

namespace lumidor {

namespace {

constexpr const char* TgaCaption = "TGA File Error";
constexpr std::size_t HeaderBytes = 18;
constexpr std::uint8_t OriginTopBit = 0x20;
constexpr std::uint8_t OriginRightBit = 0x10;

// Writes one pixel from file order (blue, green, red[, alpha]) in GL order.
void CopySwapped(const std::uint8_t* in, std::uint8_t* out, std::size_t bytesPerPixel) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    if (bytesPerPixel == 4) out[3] = in[3];
}

// Decodes run-length packets into `out` (pixelCount pixels). False when the packets run past the
// image or the input ends first.
bool DecodePackets(std::span<const std::uint8_t> in, std::size_t bytesPerPixel, std::size_t pixelCount,
                   std::uint8_t* out) {
    std::size_t at = 0;
    std::size_t produced = 0;
    while (produced < pixelCount) {
        if (at >= in.size()) return false;
        const std::uint8_t header = in[at++];
        const std::size_t count = std::size_t(header & 0x7F) + 1;
        if (count > pixelCount - produced) return false;
        if (header < 128) {
            if (in.size() - at < count * bytesPerPixel) return false;
            for (std::size_t i = 0; i < count; ++i, at += bytesPerPixel, out += bytesPerPixel)
                CopySwapped(in.data() + at, out, bytesPerPixel);
        } else {
            if (in.size() - at < bytesPerPixel) return false;
            for (std::size_t i = 0; i < count; ++i, out += bytesPerPixel)
                CopySwapped(in.data() + at, out, bytesPerPixel);
            at += bytesPerPixel;
        }
        produced += count;
    }
    return true;
}

void MirrorRows(TImage& image) {
    const std::size_t channels = std::size_t(image.Channels);
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* row = image.Pixels.data() + std::size_t(y) * std::size_t(image.Width) * channels;
        for (int left = 0, right = image.Width - 1; left < right; ++left, --right)
            std::swap_ranges(row + std::size_t(left) * channels, row + std::size_t(left + 1) * channels,
                             row + std::size_t(right) * channels);
    }
}

} // namespace

TDecodeResult DecodeTga(std::span<const std::uint8_t> file, const std::string& fileName,
                        std::size_t maxPixels) {
    const std::string unreadable = "Couldn't read file " + Quoted(fileName) + ".";
    if (file.size() < HeaderBytes) return DecodeFailure(unreadable, TgaCaption);
    const std::uint8_t idLength = file[0];
    const std::uint8_t colourMapType = file[1];
    const std::uint8_t imageType = file[2];
    if (imageType != 2 && imageType != 10)
        return DecodeFailure("Couldn't load " + Quoted(fileName) + ". Only 24 and 32bit TGA supported.",
                             TgaCaption);
    if (colourMapType != 0)
        return DecodeFailure("Couldn't load " + Quoted(fileName) + ". Colormapped TGA files not supported.",
                             TgaCaption);
    const std::size_t width = file[12] + 256u * file[13];
    const std::size_t height = file[14] + 256u * file[15];
    const std::uint8_t bits = file[16];
    const std::uint8_t descriptor = file[17];
    if (bits != 24 && bits != 32)
        return DecodeFailure(
            "Couldn't load " + Quoted(fileName) + ". Only 24 and 32 bit TGA files supported.", TgaCaption);
    if (width == 0 || height == 0 || width * height > maxPixels)
        return DecodeFailure("Couldn't load " + Quoted(fileName) + ". Image size not supported.", TgaCaption);

    const std::size_t bytesPerPixel = bits / 8;
    const std::size_t pixelCount = width * height;
    const std::size_t dataStart = HeaderBytes + idLength;
    if (dataStart > file.size()) return DecodeFailure(unreadable, TgaCaption);
    const std::span<const std::uint8_t> data = file.subspan(dataStart);
    // Refuse before allocating when the data cannot fill the image: plain pixels need their full
    // size, a run packet of 1 + bytesPerPixel bytes yields at most 128 pixels.
    if (imageType == 2 ? data.size() / bytesPerPixel < pixelCount
                       : data.size() / (1 + bytesPerPixel) * 128 < pixelCount)
        return DecodeFailure(unreadable, TgaCaption);

    TImage image;
    image.Width = int(width);
    image.Height = int(height);
    image.Channels = int(bytesPerPixel);
    image.Pixels.resize(pixelCount * bytesPerPixel);
    if (imageType == 2) {
        for (std::size_t i = 0; i < pixelCount; ++i)
            CopySwapped(data.data() + i * bytesPerPixel, image.Pixels.data() + i * bytesPerPixel,
                        bytesPerPixel);
    } else if (!DecodePackets(data, bytesPerPixel, pixelCount, image.Pixels.data())) {
        return DecodeFailure(unreadable, TgaCaption);
    }
    if (descriptor & OriginTopBit) FlipRows(image);
    if (descriptor & OriginRightBit) MirrorRows(image);
    return DecodeSuccess(std::move(image));
}

} // namespace lumidor
