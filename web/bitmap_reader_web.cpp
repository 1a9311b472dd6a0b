// The web build's bitmap reader (no SDL in the browser): the texture readers' BMP decoder, which
// takes uncompressed 24-bit files such as the demo's height map and glyph sheet. Same interface
// and message form as the desktop reader.

#include "terrain/bitmap_reader.h"

#include "textures/decoders.h"
#include "textures/file_bytes.h"

#include <cstring>
#include <stdexcept>

namespace lumidor {

TRgbImage ReadBitmapFile(const std::string& fileName) {
    const auto fail = [&](const std::string& reason) {
        throw std::runtime_error("Cannot read the bitmap \"" + fileName + "\": " + reason);
    };
    std::vector<std::uint8_t> bytes;
    const TFileReadStatus status = ReadFileBytes(fileName, bytes);
    if (status == TFileReadStatus::Missing) fail("the file does not exist");
    if (status != TFileReadStatus::Ok) fail("the file cannot be read");
    TDecodeResult decoded = DecodeBmp(bytes);
    if (!decoded.Ok) fail(decoded.Text);

    // The decoder keeps the bottom row first; the bitmap reader hands rows out top first, as RGB.
    const TImage& in = decoded.Image;
    TRgbImage image;
    image.Width = in.Width;
    image.Height = in.Height;
    const std::size_t rowBytes = std::size_t(in.Width) * 3;
    image.Pixels.resize(rowBytes * std::size_t(in.Height));
    for (int y = 0; y < in.Height; ++y) {
        const std::uint8_t* row = in.Pixels.data() + std::size_t(in.Height - 1 - y) * std::size_t(in.Width) *
                                                         std::size_t(in.Channels);
        for (int x = 0; x < in.Width; ++x)
            std::memcpy(image.Pixels.data() + std::size_t(y) * rowBytes + std::size_t(x) * 3,
                        row + std::size_t(x) * std::size_t(in.Channels), 3);
    }
    return image;
}

} // namespace lumidor
