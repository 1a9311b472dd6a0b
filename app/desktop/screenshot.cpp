#include "app/desktop/screenshot.h"

#include "engine/gl_api.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace lumidor {

void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowBytes, int height) {
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                         pixels.begin() + static_cast<std::ptrdiff_t>(bottom * rowBytes));
    }
}

TRgbImage ReadBackBufferImage(int width, int height) {
    TRgbImage image;
    image.Width = std::max(width, 0);
    image.Height = std::max(height, 0);
    image.Pixels.resize(std::size_t(image.Width) * std::size_t(image.Height) * 3);
    if (image.Pixels.empty()) return image;
    GLint packAlignment = 4;
    GL.GetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    GL.Finish();
    GL.PixelStorei(GL_PACK_ALIGNMENT, 1); // rows of width * 3 bytes, no padding
    GL.ReadPixels(0, 0, image.Width, image.Height, GL_RGB, GL_UNSIGNED_BYTE, image.Pixels.data());
    GL.PixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    FlipRows(image.Pixels, std::size_t(image.Width) * 3, image.Height); // GL reads bottom row first
    return image;
}

bool WritePng(const std::string& fileName, const TRgbImage& image, std::string& error) {
    if (image.Width <= 0 || image.Height <= 0) {
        error = "the picture is empty";
        return false;
    }
    errno = 0;
    if (!stbi_write_png(fileName.c_str(), image.Width, image.Height, 3, image.Pixels.data(),
                        image.Width * 3)) {
        error = errno != 0 ? std::strerror(errno) : "the PNG writer failed";
        return false;
    }
    return true;
}

} // namespace lumidor
