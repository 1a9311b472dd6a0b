// The --atlas form of lumidor-psc: its operands, the texture read as the demo reads it (the reader
// chosen by the name's ending, the decoders of textures/), and the PNG written with stb_image_write,
// the writer the demo's screenshots use.

#include "tools/psc/atlas_command.h"

#include "script/particle_script.h"
#include "textures/decoders.h"
#include "textures/file_bytes.h"

#include <cerrno>
#include <cstring>
#include <ostream>

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

const char* const AtlasUsage = "lumidor-psc --atlas FILE ROWS COLUMNS OUT.png";

namespace {

std::string LowerEnding(const std::string& name) {
    std::string ending = name.size() < 4 ? name : name.substr(name.size() - 4);
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return ending;
}

/// Reads and decodes FILE as LoadTextureFile would; false after saying why on `err`.
bool ReadTexture(const std::string& fileName, TImage& image, std::ostream& err) {
    const std::string ending = LowerEnding(fileName);
    if (ending != ".bmp" && ending != ".jpg" && ending != ".tga") {
        err << "lumidor-psc: --atlas: \"" << fileName
            << "\" is not a texture the engine reads (a name ending in .bmp, .jpg or .tga)\n";
        return false;
    }
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(fileName, bytes)) {
    case TFileReadStatus::Missing:
        err << "lumidor-psc: --atlas: \"" << fileName << "\" not found\n";
        return false;
    case TFileReadStatus::Unreadable:
        err << "lumidor-psc: --atlas: \"" << fileName << "\" cannot be read\n";
        return false;
    case TFileReadStatus::Ok:
        break;
    }
    const TDecodeResult decoded = ending == ".bmp"   ? DecodeBmp(bytes)
                                  : ending == ".jpg" ? DecodeJpeg(bytes, fileName)
                                                     : DecodeTga(bytes, fileName);
    if (!decoded.Ok) {
        err << "lumidor-psc: --atlas: " << decoded.Text << "\n";
        return false;
    }
    image = decoded.Image;
    return true;
}

} // namespace

bool ParseAtlasSide(const std::string& text, std::int32_t& side) {
    if (text.empty() || text.size() > 9) return false;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > MaxScriptTextureTiles) return false;
    side = std::int32_t(value);
    return true;
}

bool WriteAtlasPng(const std::string& fileName, const TAtlasPicture& picture, std::string& error) {
    errno = 0;
    if (!stbi_write_png(fileName.c_str(), picture.Width, picture.Height, 3, picture.Rgb.data(),
                        picture.Width * 3)) {
        error = errno != 0 ? std::strerror(errno) : "the PNG writer failed";
        return false;
    }
    return true;
}

int RunAtlasCommand(const std::vector<std::string>& operands, std::ostream& out, std::ostream& err) {
    if (operands.size() != 4) {
        err << "lumidor-psc: --atlas needs FILE ROWS COLUMNS OUT.png\nusage: " << AtlasUsage << "\n";
        return 2;
    }
    const std::string& file = operands[0];
    const std::string& output = operands[3];
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    for (int i = 1; i <= 2; ++i) {
        if (!ParseAtlasSide(operands[std::size_t(i)], i == 1 ? rows : columns)) {
            err << "lumidor-psc: --atlas: " << (i == 1 ? "ROWS" : "COLUMNS") << " \""
                << operands[std::size_t(i)] << "\" is not a whole number from 1 to " << MaxScriptTextureTiles
                << "\n";
            return 2;
        }
    }
    if (std::int64_t(rows) * columns > MaxScriptTextureTiles) {
        err << "lumidor-psc: --atlas: " << rows << " x " << columns << " tiles are more than the "
            << MaxScriptTextureTiles << " textureproperties allows\n";
        return 2;
    }
    if (LowerEnding(output) != ".png") {
        err << "lumidor-psc: --atlas: the picture's name \"" << output << "\" does not end in .png\n";
        return 2;
    }
    TImage texture;
    if (!ReadTexture(file, texture, err)) return 2;
    std::int64_t unnumbered = 0;
    const TAtlasPicture picture = MakeAtlasPicture(texture, rows, columns, unnumbered);
    std::string error;
    if (!WriteAtlasPng(output, picture, error)) {
        err << "lumidor-psc: --atlas: cannot write \"" << output << "\": " << error << "\n";
        return 2;
    }
    if (unnumbered > 0)
        err << "lumidor-psc: --atlas: " << unnumbered << " of " << std::int64_t(rows) * columns
            << " tiles are too small for their numbers\n";
    out << "wrote " << output << ": " << rows << " x " << columns << " tiles of " << texture.Width << " x "
        << texture.Height << " pixels, tile 0 at the top left, shown " << picture.Width << " x "
        << picture.Height << "\n";
    return 0;
}

} // namespace lumidor
