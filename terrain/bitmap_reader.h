#pragma once
// Reads Windows bitmap files of any depth the platform reader accepts into plain RGB pixels.

#include "../font/rgb_image.h"

#include <cstddef>
#include <string>

namespace lumidor {

/// Reads `fileName` (relative to the working directory; '\' is taken as '/') into RGB pixels,
/// rows top first. Throws std::runtime_error whose text names the file as given when it is
/// missing or not a readable bitmap.
TRgbImage ReadBitmapFile(const std::string& fileName);
/// ReadBitmapFile on `size` bytes in memory (`fileName` only names them in the error text).
TRgbImage ReadBitmapBytes(const void* data, std::size_t size, const std::string& fileName);

} // namespace lumidor
