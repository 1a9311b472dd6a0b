#pragma once
// Watches a few files (a script and the textures it loads) for changes on disk by modification time,
// size and identity (a file saved by renaming a new one over it is another file). Looks at the disk at most
// once per interval of wall-clock time, however often it is polled, and reports a change only once the file
// has stayed the same for one look, so a file that is still being written is waited for.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// What a file looked like at one look.
struct TFileStamp {
    bool Exists = false;         ///< false: missing or not a regular file we may read
    std::int64_t ModifiedNs = 0; ///< modification time, nanoseconds since the epoch
    std::int64_t Size = 0;       ///< bytes
    std::uint64_t Inode = 0;     ///< file identity: an editor saving by rename makes a new one
    bool operator==(const TFileStamp&) const = default; ///< same look: nothing changed
};

/// The stamp of `path` now ("\" taken as "/", as the loaders open it).
TFileStamp StampFile(const std::string& path);

/// Seconds of wall-clock time between two looks at the disk.
inline constexpr double ScriptWatchInterval = 0.25;

/// The watched files with their stamps.
struct TScriptWatch {
    std::vector<std::string> Paths;   ///< the script first, then its textures
    std::vector<TFileStamp> InUse;    ///< stamps of the version last read (used or refused)
    std::vector<TFileStamp> LastSeen; ///< stamps at the previous look
    double LastLook = 0.0;            ///< wall-clock seconds of the previous look
    bool Looked = false;              ///< LastLook is valid
};

/// Starts watching `paths` whose version in use has the stamps `inUse` (taken before they were
/// read, so a write during the read is seen); `now` in wall-clock seconds.
void WatchFiles(TScriptWatch& watch, std::vector<std::string> paths, std::vector<TFileStamp> inUse,
                double now);

/// True when a watched file differs from the version last read, looked the same at the previous
/// look, and no watched file moved since. Looks at the disk only when `now` is ScriptWatchInterval or more
/// past the previous look (or the clock went back); otherwise returns false at once.
bool PollScriptWatch(TScriptWatch& watch, double now);

} // namespace lumidor
