#include "terrain/bitmap_reader.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
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

} // namespace

TRgbImage ReadBitmapFile(const std::string& fileName) {
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');

    // SDL_LoadBMP needs no SDL_Init; it accepts 1, 4, 8, 16, 24 and 32 bits per pixel, palettes
    // and bit fields, and refuses anything else with a reason in SDL_GetError.
    TSurfacePtr loaded(SDL_LoadBMP(path.c_str()));
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

} // namespace lumidor
