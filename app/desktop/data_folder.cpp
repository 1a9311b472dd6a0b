#include "app/desktop/data_folder.h"

#include <SDL.h>

#include <system_error>

#ifndef LUMIDOR_INSTALLED_DATA_RELATIVE
#define LUMIDOR_INSTALLED_DATA_RELATIVE "../share/lumidor"
#endif

namespace lumidor {

namespace fs = std::filesystem;

bool HoldsDemoData(const fs::path& folder) {
    static const char* const files[] = {"textures.tga", "hm.bmp", "fonts/font.bmp",
                                        "logos/LDStrip800x276.jpg", "scripts/ParticleScript1.psc"};
    std::error_code error;
    for (const char* file : files)
        if (fs::is_regular_file(folder / file, error)) return true;
    return false;
}

TDataFolder FindDataFolder(const fs::path& workingDirectory, const fs::path& programFolder,
                           const fs::path& installedRelative) {
    TDataFolder data;
    data.Searched.push_back(workingDirectory);
    if (HoldsDemoData(workingDirectory)) {
        data.Folder = workingDirectory;
        return data;
    }
    if (programFolder.empty()) return data;
    const fs::path installed = (programFolder / installedRelative).lexically_normal();
    data.Searched.push_back(installed);
    if (HoldsDemoData(installed)) {
        data.Folder = installed;
        data.Installed = true;
    }
    return data;
}

std::string DataNotFoundText(const TDataFolder& data) {
    std::string text =
        "The demo's data (textures.tga, hm.bmp, scripts, fonts, logos) was not found. Looked in:";
    for (const fs::path& folder : data.Searched)
        text += "\n  " + folder.string();
    text += "\nStart lumidor-demo in the folder that holds its data, or install it with its data "
            "(cmake --install).";
    return text;
}

std::string ChooseConfigPath(const TDataFolder& data, const std::string& besideProgram) {
    std::error_code error;
    if (!data.Installed || (!besideProgram.empty() && fs::exists(besideProgram, error))) return besideProgram;
    return (data.Folder / "config.ini").string();
}

fs::path ProgramFolder() {
    char* folder = SDL_GetBasePath();
    if (!folder) return {};
    fs::path path(folder);
    SDL_free(folder);
    return path;
}

fs::path InstalledDataRelative() {
    return LUMIDOR_INSTALLED_DATA_RELATIVE;
}

} // namespace lumidor
