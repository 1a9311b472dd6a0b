#include "textures/file_bytes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lumidor {

TFileReadStatus ReadFileBytes(const std::string& fileName, std::vector<std::uint8_t>& bytes,
                              std::size_t maxBytes) {
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return TFileReadStatus::Missing;
    // Only regular files: a device or pipe could stream without end.
    if (!std::filesystem::is_regular_file(status)) return TFileReadStatus::Unreadable;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return TFileReadStatus::Unreadable;
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return TFileReadStatus::Unreadable;
    bytes.resize(std::size_t(std::min<std::uintmax_t>(size, maxBytes)));
    stream.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    // A file that shrank since its size was taken gives what could be read.
    bytes.resize(std::size_t(stream.gcount()));
    if (stream.bad()) return TFileReadStatus::Unreadable;
    return TFileReadStatus::Ok;
}

} // namespace lumidor
