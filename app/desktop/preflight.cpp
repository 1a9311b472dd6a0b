#include "app/desktop/preflight.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace lumidor {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// Empty when `folder` is a folder in which files can be made.
std::string FolderProblem(const fs::path& folder) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (!fs::exists(status)) return "the folder " + Quoted(folder) + " does not exist";
    if (!fs::is_directory(status)) return Quoted(folder) + " is not a folder";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "cannot write in the folder " + Quoted(folder) + ": " + std::strerror(errno);
    return {};
}

// Empty when `file` can be written: an existing file that can be, or a new one in a usable folder.
std::string OutputFileProblem(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status)) return "it is a folder, not a file";
    if (fs::exists(status) && ::access(file.c_str(), W_OK) != 0) return std::strerror(errno);
    return FolderProblem(file.has_parent_path() ? file.parent_path() : fs::path("."));
}

// The script loader opens "\" as "/", as the demo's own script names are written.
std::string ScriptProblem(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    const fs::path file = name;
    std::error_code error;
    if (fs::is_directory(file, error)) return "it is a folder, not a script file";
    const int descriptor = ::open(file.c_str(), O_RDONLY);
    if (descriptor < 0) return std::strerror(errno);
    ::close(descriptor);
    return {};
}

std::string RecordFolderProblem(const fs::path& folder) {
    std::error_code error;
    if (fs::exists(folder, error)) return FolderProblem(folder);
    // The folder is made with its parents: the nearest one that exists must take new folders.
    fs::path parent = folder;
    do {
        parent =
            parent.has_parent_path() && parent.parent_path() != parent ? parent.parent_path() : fs::path(".");
    } while (!fs::exists(parent, error) && parent != ".");
    return FolderProblem(parent);
}

} // namespace

std::vector<std::string> CheckCommandLineFiles(const TCommandLine& options) {
    std::vector<std::string> problems;
    const auto check = [&](const char* flag, const std::string& name, const std::string& problem) {
        if (!problem.empty()) problems.push_back(std::string(flag) + " " + name + ": " + problem);
    };
    if (!options.ScriptFile.empty()) check("--script", options.ScriptFile, ScriptProblem(options.ScriptFile));
    if (!options.ScreenshotFile.empty())
        check("--screenshot", options.ScreenshotFile, OutputFileProblem(options.ScreenshotFile));
    if (!options.RecordFolder.empty())
        check("--record", options.RecordFolder, RecordFolderProblem(options.RecordFolder));
    if (!options.StatsFile.empty()) check("--stats", options.StatsFile, OutputFileProblem(options.StatsFile));
    return problems;
}

} // namespace lumidor
