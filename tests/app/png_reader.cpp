#include "png_reader.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace lumidor::testing {

bool ReadPng(const std::string& fileName, TPngPicture& picture) {
    int channels = 0;
    stbi_uc* pixels = stbi_load(fileName.c_str(), &picture.Width, &picture.Height, &channels, 3);
    if (!pixels) return false;
    picture.Rgb.assign(pixels, pixels + std::size_t(picture.Width) * std::size_t(picture.Height) * 3);
    stbi_image_free(pixels);
    return true;
}

} // namespace lumidor::testing
