#pragma once
// Reading an image file whole into memory, for the decoders.

#include "textures/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// Outcome of ReadFileBytes: read, not there at all, or there but not readable as a file.
enum class TFileReadStatus { Ok, Missing, Unreadable };

/// Reads at most `maxBytes` bytes of a regular file into `bytes`. Backslashes in the name are
/// path separators (names such as ".\logos\x.jpg" come from data written for Windows).
TFileReadStatus ReadFileBytes(const std::string& fileName, std::vector<std::uint8_t>& bytes,
                              std::size_t maxBytes = MaxImageFileBytes);

} // namespace lumidor
