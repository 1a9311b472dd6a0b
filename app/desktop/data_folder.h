#pragma once
// Where the demo finds its data. Started in a folder that holds the data (the classic way), it uses
// that folder; an installed demo started anywhere else uses the copy installed with it
// (<prefix>/share/lumidor, found relative to the program's own folder).

#include <filesystem>
#include <string>
#include <vector>

namespace lumidor {

/// The folder the demo reads its data from, and every folder it looked at.
struct TDataFolder {
    std::filesystem::path Folder;                ///< empty when no folder holds the data
    bool Installed = false;                      ///< Folder is the installed copy, not the working directory
    std::vector<std::filesystem::path> Searched; ///< in the order looked at
};

/// True when `folder` holds any of the files the demo reads at start-up (a folder missing some of
/// them is still the data folder: each loader then reports its own missing file).
bool HoldsDemoData(const std::filesystem::path& folder);

/// The working directory when it holds data, else `programFolder`/`installedRelative` when that
/// does; `installedRelative` is the installed data folder relative to the installed program's.
TDataFolder FindDataFolder(const std::filesystem::path& workingDirectory,
                           const std::filesystem::path& programFolder,
                           const std::filesystem::path& installedRelative);

/// The message shown when no folder holds the data: names every folder looked at.
std::string DataNotFoundText(const TDataFolder& data);

/// config.ini beside the program (`besideProgram`) as always; an installed demo run on its
/// installed data with no config.ini beside it reads the one installed with the data.
std::string ChooseConfigPath(const TDataFolder& data, const std::string& besideProgram);

/// The running program's folder (SDL_GetBasePath); empty when unknown.
std::filesystem::path ProgramFolder();

/// The installed data folder relative to the installed program's folder ("../share/lumidor").
std::filesystem::path InstalledDataRelative();

} // namespace lumidor
