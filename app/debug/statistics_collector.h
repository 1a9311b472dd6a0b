#pragma once
// Gathering one frame's statistics around its particle passes, and the --stats file that receives one
// line per frame. The caller reads the clock and names the systems, so this stays free of any platform
// and of the demo's own systems.

#include "app/debug/frame_statistics.h"
#include "engine/particle_container.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace lumidor {

/// The frame being gathered. Container pointers are used only until EndEffectPassGathering, while every
/// system that ran in the effect pass still exists.
struct TStatisticsCollector {
    struct TPass {
        const TParticleEffectContainer* Container = nullptr;
        TSystemFrameStats Stats;
    };
    std::int64_t FramesDrawn = 0; ///< effect passes begun so far
    TFrameStats Building;         ///< the frame being gathered
    std::vector<TPass> Passes;    ///< this frame's passes so far, in order
    double PassStartMs = 0.0;     ///< clock at the start of the latest pass
    double EffectPassStartMs = 0.0;
    bool InEffectPass = false; ///< passes outside the effect pass (tests, tools) are not gathered
};

/// Starts a frame: numbers it, notes its frame time `dt` and effect `slot`, and starts gathering.
void BeginEffectPassGathering(TStatisticsCollector& collector, float dt, int slot, double nowMs);
/// Before a pass of `container`: its swept particles and magnet points. Nothing outside the effect pass.
void BeginPassGathering(TStatisticsCollector& collector, const TParticleEffectContainer& container,
                        double nowMs);
/// After that pass: its time. Nothing outside the effect pass or for another container than the last.
void EndPassGathering(TStatisticsCollector& collector, const TParticleEffectContainer& container,
                      double nowMs);
/// Ends gathering: the effect pass's time, and every pass's system with its name (from `nameOf`) and
/// its live particles now (emission after the pass included), in the order the passes ran.
void EndEffectPassGathering(TStatisticsCollector& collector, double nowMs,
                            const std::function<std::string(const TParticleEffectContainer&)>& nameOf);
/// Completes the frame with its whole duration and returns it.
TFrameStats CompleteFrame(TStatisticsCollector& collector, double frameMs);

/// The --stats file: one FrameStatsJson line per frame, flushed as written.
struct TStatsFile {
    std::FILE* File = nullptr; ///< open file; null when none is open
    std::string Name;          ///< as given to OpenStatsFile, for messages
    bool Failed = false;       ///< a line or the close failed: nothing more is written
};

/// Opens (truncates) `fileName`; false with `error` set (the system's reason) when it cannot be created.
bool OpenStatsFile(TStatsFile& stats, const std::string& fileName, std::string& error);
/// Writes the frame's line when a file is open and nothing failed; a failure is printed to standard
/// error ("Could not write the frame statistics to NAME: REASON") and stops further lines.
void WriteStatsLine(TStatsFile& stats, const TFrameStats& frame);
/// Closes the file; false when a line could not be written or the file not be closed (the reason has
/// been printed). True with no file open and nothing failed.
bool CloseStatsFile(TStatsFile& stats);

} // namespace lumidor
