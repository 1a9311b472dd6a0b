#pragma once
// File writers for the generated data: TGA (run-length encoded), BMP (24-bit) and JPEG.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor::datagen {

/// Writes RGBA pixels (top row first) as a 32-bit run-length encoded TGA with bottom-left origin.
bool WriteTgaRle(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);
/// Writes RGB pixels (top row first) as a 24-bit uncompressed bottom-up BMP, rows padded to 4 bytes.
bool WriteBmp24(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
/// Writes RGB pixels (top row first) as a baseline JPEG of the given quality (1..100).
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               int quality);
/// Writes text as it is.
bool WriteText(const std::string& path, const std::string& text);

} // namespace lumidor::datagen
