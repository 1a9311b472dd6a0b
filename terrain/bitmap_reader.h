#pragma once
// Reads Windows bitmap files of any depth the platform reader accepts into plain RGB pixels.

#include "font/rgb_image.h"

#include <string>

namespace lumidor {

/// Reads `fileName` (relative to the working directory; '\' is taken as '/') into RGB pixels,
/// rows top first. Throws std::runtime_error whose text names the file as given when it is
/// missing or not a readable bitmap.
TRgbImage ReadBitmapFile(const std::string& fileName);

} // namespace lumidor
