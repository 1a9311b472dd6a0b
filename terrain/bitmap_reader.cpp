#include "terrain/bitmap_reader.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace lumidor {

namespace {

struct TSurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceFree>;

[[noreturn]] void Fail(const std::string& fileName, const char* reason) {
    throw std::runtime_error("Cannot read the bitmap \"" + fileName + "\": " + reason);
}

// The reader allocates the whole picture from the header's size before reading any pixel, so a
// damaged or hostile header (a few bytes claiming 60000 x 60000) is refused here first. Headers
// that cannot be parsed are left for SDL to report.
constexpr std::int64_t MaxBitmapSide = 16384;
constexpr std::int64_t MaxBitmapPixels = std::int64_t(1) << 26; // 64 Mpixels, 192 MB as RGB

void CheckDeclaredSize(const unsigned char* header, std::size_t size, const std::string& fileName) {
    if (size < 22 || header[0] != 'B' || header[1] != 'M') return;
    const auto u16 = [&](int at) { return std::uint32_t(header[at]) | std::uint32_t(header[at + 1]) << 8; };
    const auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
    std::int64_t width = 0, height = 0;
    const std::uint32_t headerSize = u32(14);
    if (headerSize == 12) {
        // The old core header holds unsigned 16-bit sizes: up to 65535 x 65535.
        width = u16(18);
        height = u16(20);
    } else if (headerSize >= 40 && size >= 26) {
        width = std::llabs(std::int64_t(std::int32_t(u32(18))));
        height = std::llabs(std::int64_t(std::int32_t(u32(22))));
    }
    if (width > MaxBitmapSide || height > MaxBitmapSide || width * height > MaxBitmapPixels) {
        Fail(fileName, ("the picture is too large (" + std::to_string(width) + " x " +
                        std::to_string(height) + " pixels)")
                           .c_str());
    }
}

void CheckDeclaredSize(const std::string& path, const std::string& fileName) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[26] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return;
    CheckDeclaredSize(header, sizeof header, fileName);
}

/// Any surface SDL read, as RGB rows top first.
TRgbImage ToRgbImage(TSurfacePtr loaded, const std::string& fileName) {
    if (!loaded) Fail(fileName, SDL_GetError());
    TSurfacePtr rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0));
    if (!rgb) Fail(fileName, SDL_GetError());
    loaded.reset();

    TRgbImage image;
    image.Width = rgb->w;
    image.Height = rgb->h;
    const std::size_t rowBytes = std::size_t(rgb->w) * 3;
    image.Pixels.resize(rowBytes * std::size_t(rgb->h));
    if (SDL_MUSTLOCK(rgb.get())) SDL_LockSurface(rgb.get());
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row =
            static_cast<const std::uint8_t*>(rgb->pixels) + std::size_t(y) * std::size_t(rgb->pitch);
        std::memcpy(image.Pixels.data() + std::size_t(y) * rowBytes, row, rowBytes);
    }
    if (SDL_MUSTLOCK(rgb.get())) SDL_UnlockSurface(rgb.get());
    return image;
}

} // namespace

TRgbImage ReadBitmapFile(const std::string& fileName) {
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');

    CheckDeclaredSize(path, fileName);
    // SDL_LoadBMP needs no SDL_Init; it accepts 1, 4, 8, 16, 24 and 32 bits per pixel, palettes
    // and bit fields, and refuses anything else with a reason in SDL_GetError.
    return ToRgbImage(TSurfacePtr(SDL_LoadBMP(path.c_str())), fileName);
}

TRgbImage ReadBitmapBytes(const void* data, std::size_t size, const std::string& fileName) {
    CheckDeclaredSize(static_cast<const unsigned char*>(data), size, fileName);
    SDL_RWops* stream = SDL_RWFromConstMem(data, int(std::min<std::size_t>(size, INT32_MAX)));
    if (!stream) Fail(fileName, SDL_GetError());
    return ToRgbImage(TSurfacePtr(SDL_LoadBMP_RW(stream, 1)), fileName);
}

} // namespace lumidor
