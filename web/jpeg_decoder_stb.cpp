// JPEG decoding for the web build through stb_image (Debian's libstb-dev), behind the same decoder
// interface and with the same message as the libjpeg decoder of the desktop: libjpeg's port for
// emscripten would have to be downloaded. stb_image reads baseline and progressive files in colour
// or grey; CMYK files, which it does not read, get the usual failure message.

#include "textures/decoders.h"

#include <climits>
#include <cstring>

#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-function"
#endif
#include <stb_image.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

namespace lumidor {

TDecodeResult DecodeJpeg(std::span<const std::uint8_t> file, const std::string& fileName,
                         std::size_t maxPixels) {
    const auto failure = [&] { return DecodeFailure("Couldn't load JPG - " + Quoted(fileName), "BMP Unit"); };
    if (file.empty() || file.size() > std::size_t(INT_MAX)) return failure();
    int width = 0, height = 0, components = 0;
    // The size comes from the header before any pixel is decoded, so a hostile header is refused first.
    if (!stbi_info_from_memory(file.data(), int(file.size()), &width, &height, &components)) return failure();
    if (width <= 0 || height <= 0 || width > MaxImageSide || height > MaxImageSide ||
        std::size_t(width) * std::size_t(height) > maxPixels)
        return failure();
    stbi_uc* pixels = stbi_load_from_memory(file.data(), int(file.size()), &width, &height, &components, 4);
    if (!pixels) return failure();
    TImage image;
    image.Width = width;
    image.Height = height;
    image.Channels = 4;
    const std::size_t rowBytes = std::size_t(width) * 4;
    image.Pixels.resize(rowBytes * std::size_t(height));
    // Rows come top first; the image keeps the bottom row first.
    for (int y = 0; y < height; ++y)
        std::memcpy(image.Pixels.data() + std::size_t(height - 1 - y) * rowBytes,
                    pixels + std::size_t(y) * rowBytes, rowBytes);
    stbi_image_free(pixels);
    return DecodeSuccess(std::move(image));
}

} // namespace lumidor
