// The texture readers: read the file, decode it, report a failure or upload the image.

#include "textures/textures.h"

#include "engine/message.h"
#include "textures/decoders.h"
#include "textures/file_bytes.h"

#include <vector>

namespace lumidor {

namespace {

bool UploadOrReport(const TDecodeResult& decoded, GLuint& texture) {
    if (!decoded.Ok) {
        ShowMessage(decoded.Text, decoded.Caption, TMessageIcon::None);
        return false;
    }
    texture = MakeMipmappedTexture(decoded.Image);
    return true;
}

std::string UpperAsciiEnding(const std::string& fileName) {
    std::string ending = fileName.size() < 4 ? fileName : fileName.substr(fileName.size() - 4);
    for (char& c : ending)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return ending;
}

} // namespace

bool ReadBmpTexture(const std::string& fileName, GLuint& texture) {
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(fileName, bytes) != TFileReadStatus::Ok) {
        ShowMessage("Error opening " + fileName, "BMP Unit", TMessageIcon::None);
        return false;
    }
    return UploadOrReport(DecodeBmp(bytes), texture);
}

bool ReadJpegTexture(const std::string& fileName, GLuint& texture) {
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(fileName, bytes) != TFileReadStatus::Ok) {
        ShowMessage("Couldn't load JPG - " + Quoted(fileName), "BMP Unit", TMessageIcon::None);
        return false;
    }
    return UploadOrReport(DecodeJpeg(bytes, fileName), texture);
}

bool ReadTgaTexture(const std::string& fileName, GLuint& texture) {
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(fileName, bytes)) {
    case TFileReadStatus::Missing:
        ShowMessage("File not found  - " + fileName, "TGA Texture", TMessageIcon::None);
        return false;
    case TFileReadStatus::Unreadable:
        ShowMessage("Couldn't read file " + Quoted(fileName) + ".", "TGA File Error", TMessageIcon::None);
        return false;
    case TFileReadStatus::Ok:
        break;
    }
    return UploadOrReport(DecodeTga(bytes, fileName), texture);
}

bool LoadTextureFile(const std::string& fileName, GLuint& texture) {
    const std::string ending = UpperAsciiEnding(fileName);
    if (ending == ".BMP") return ReadBmpTexture(fileName, texture);
    if (ending == ".JPG") return ReadJpegTexture(fileName, texture);
    if (ending == ".TGA") return ReadTgaTexture(fileName, texture);
    return false;
}

} // namespace lumidor
