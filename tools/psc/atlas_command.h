#pragma once
// `lumidor-psc --atlas FILE ROWS COLUMNS OUT.png`: reads a texture with the engine's own decoders,
// draws the picture of its atlas (tools/psc/atlas_picture.h) and writes it as a PNG file.

#include "tools/psc/atlas_picture.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace lumidor {

/// The usage line of the --atlas form, for lumidor-psc's usage text.
extern const char* const AtlasUsage;

/// Reads ROWS or COLUMNS: decimal digits of a whole number from 1 to MaxScriptTextureTiles.
bool ParseAtlasSide(const std::string& text, std::int32_t& side);

/// Writes `picture` to `fileName` as an 8-bit RGB PNG; false with the reason in `error` when the file
/// cannot be written.
bool WriteAtlasPng(const std::string& fileName, const TAtlasPicture& picture, std::string& error);

/// Runs the --atlas form with its four operands (FILE ROWS COLUMNS OUT.png). Returns the exit status:
/// 0 the picture is written (one line on `out`), 2 a bad operand, a file that is no texture the demo
/// reads or an OUT that cannot be written (the reason on `err`).
int RunAtlasCommand(const std::vector<std::string>& operands, std::ostream& out, std::ostream& err);

} // namespace lumidor
