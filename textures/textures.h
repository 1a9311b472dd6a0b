#pragma once
// Image files (BMP, JPEG, TGA) into mipmapped OpenGL textures. Every failure is reported through
// ShowMessage and leaves the caller's texture variable untouched.

#include "../engine/gl_api.h"
#include "image.h"

#include <cstdint>
#include <string>

namespace lumidor {

/// Loads a texture, choosing the reader by the name's last four characters (".BMP", ".JPG",
/// ".TGA", any case). On success writes a new texture name (0 without GL set up, see GLAvailable)
/// into `texture` and returns true; on failure leaves it untouched, shows a message (except for an
/// unknown extension) and returns false.
bool LoadTextureFile(const std::string& fileName, GLuint& texture);

/// Reads a 24-bit uncompressed BMP into a new texture; messages captioned "BMP Unit".
bool ReadBmpTexture(const std::string& fileName, GLuint& texture);
/// Reads a JPEG into a new RGBA texture with alpha 255; messages captioned "BMP Unit".
bool ReadJpegTexture(const std::string& fileName, GLuint& texture);
/// Reads a 24/32-bit plain or run-length encoded TGA into a new RGB/RGBA texture.
bool ReadTgaTexture(const std::string& fileName, GLuint& texture);

/// Creates a texture with a full mipmap chain from tightly packed pixels (bottom row first),
/// `format` GL_RGB or GL_RGBA; filters linear / linear-mipmap-linear, modulate. Returns its name,
/// left bound to GL_TEXTURE_2D. Without GL set up (GLAvailable) makes no call and returns 0.
GLuint MakeMipmappedTexture(std::uint16_t width, std::uint16_t height, GLenum format, const void* pixels);

/// MakeMipmappedTexture for a decoded image (GL_RGB for 3 channels, GL_RGBA for 4).
GLuint MakeMipmappedTexture(const TImage& image);

} // namespace lumidor
