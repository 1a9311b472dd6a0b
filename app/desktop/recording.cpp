#include "app/desktop/recording.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lumidor {

std::string RecordFramePath(const std::string& folder, std::int64_t frame) {
    char name[40];
    std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(frame));
    return (std::filesystem::path(folder) / name).string();
}

bool PrepareRecordFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && std::filesystem::is_directory(folder, error)) return true;
    std::fprintf(stderr, "lumidor-demo: cannot record into %s: %s\n", folder.c_str(),
                 error ? error.message().c_str() : "not a folder");
    return false;
}

} // namespace lumidor
