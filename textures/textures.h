#pragma once
// Image files (BMP, JPEG, TGA) into mipmapped OpenGL textures.

#include "engine/gl_api.h"

#include <string>

namespace lumidor {

/// Loads a texture, choosing the reader by the name's last four characters (".BMP", ".JPG",
/// ".TGA", any case). On success writes a new texture name into `texture` and returns true; on
/// failure leaves it untouched, shows a message (except for an unknown extension) and returns false.
bool LoadTextureFile(const std::string& fileName, GLuint& texture);

} // namespace lumidor
