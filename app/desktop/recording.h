#pragma once
// --record: every frame written as a numbered PNG into one folder.

#include <cstdint>
#include <string>

namespace lumidor {

/// FOLDER/frame_000001.png for frame 1 (six digits at least, more past 999999).
std::string RecordFramePath(const std::string& folder, std::int64_t frame);

/// Creates the folder (and its parents) when missing; false after printing why it cannot be used.
bool PrepareRecordFolder(const std::string& folder);

} // namespace lumidor
