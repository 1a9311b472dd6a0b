#include "script/script_watch.h"

#include <algorithm>
#include <sys/stat.h>

namespace lumidor {

TFileStamp StampFile(const std::string& path) {
    std::string name = path;
    std::replace(name.begin(), name.end(), '\\', '/');
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    TFileStamp stamp;
    stamp.Exists = true;
    stamp.ModifiedNs = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    stamp.Size = std::int64_t(info.st_size);
    stamp.Inode = std::uint64_t(info.st_ino);
    return stamp;
}

void WatchFiles(TScriptWatch& watch, std::vector<std::string> paths, std::vector<TFileStamp> inUse,
                double now) {
    inUse.resize(paths.size());
    watch.Paths = std::move(paths);
    watch.LastSeen = inUse;
    watch.InUse = std::move(inUse);
    watch.LastLook = now;
    watch.Looked = true;
}

bool PollScriptWatch(TScriptWatch& watch, double now) {
    if (watch.Looked && now >= watch.LastLook && now - watch.LastLook < ScriptWatchInterval) return false;
    watch.LastLook = now;
    watch.Looked = true;
    // Any file still moving holds the reload back, so a script and its texture saved together load once.
    bool moving = false;
    bool changed = false;
    for (std::size_t i = 0; i < watch.Paths.size(); ++i) {
        const TFileStamp stamp = StampFile(watch.Paths[i]);
        if (stamp != watch.LastSeen[i]) {
            watch.LastSeen[i] = stamp;
            moving = true;
        } else if (stamp != watch.InUse[i]) {
            changed = true;
        }
    }
    return changed && !moving;
}

} // namespace lumidor
