// libFuzzer entry point for the bitmap reader of the height map and the glyph sheet (SDL's BMP
// reader from memory, after our check of the declared size).

#include "terrain/bitmap_reader.h"

#include <cstdint>
#include <stdexcept>

using namespace lumidor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const TRgbImage image = ReadBitmapBytes(data, size, "fuzz.bmp");
        if (image.Width < 1 || image.Height < 1 || image.Width > 16384 || image.Height > 16384)
            __builtin_trap();
        if (image.Pixels.size() != std::size_t(image.Width) * std::size_t(image.Height) * 3) __builtin_trap();
    } catch (const std::runtime_error& error) {
        // A refusal names the input.
        if (std::string(error.what()).find("fuzz.bmp") == std::string::npos) __builtin_trap();
    }
    return 0;
}
