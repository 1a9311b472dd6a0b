#pragma once
// What one frame cost and held: the particle systems drawn, their live particles and pass times, the
// effect pass and the whole frame. Written as one JSON line per frame by --stats and shown by the
// Statistics window.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// One particle system's UpdateAndDraw in a frame.
struct TSystemFrameStats {
    std::string Name;         ///< "FloorEffect", "type 0", ...
    std::int32_t Live = 0;    ///< particles alive at the end of the effect pass (emission included)
    std::int32_t Swept = 0;   ///< particles the pass aged and moved (alive when it began)
    std::int32_t Magnets = 0; ///< magnet points during the pass
    double PassMs = 0.0;      ///< milliseconds of the pass: simulation, vertices and the draw call
};

/// One frame.
struct TFrameStats {
    std::int64_t Frame = 0;                 ///< 1 for the first frame drawn
    float Dt = 0.0f;                        ///< FrameTime, seconds
    int Slot = 0;                           ///< effect slot that ran
    std::vector<TSystemFrameStats> Systems; ///< in the order their passes ran
    double EngineMs = 0.0;                  ///< the effect pass: the slot's routine and the banner
    double FrameMs = 0.0; ///< the whole frame, from the timer tick to the end of the buffer swap
};

/// Sum of the systems' live particles.
std::int64_t TotalParticles(const TFrameStats& frame);
/// Particles aged and moved per second at this frame's duration; 0 for a frame of no duration.
double ParticlesPerSecond(const TFrameStats& frame);

/// The frame as one line of JSON (no newline): frame, dt, slot, particles, systems [{name, live,
/// pass_ms}], engine_ms, frame_ms. Names are escaped; non-finite numbers are written as null.
std::string FrameStatsJson(const TFrameStats& frame);

/// The last `Capacity` frames' times, oldest first once full, for the plots.
struct TFrameHistory {
    static constexpr int Capacity = 300;
    std::vector<float> FrameMs;  ///< ring buffer
    std::vector<float> EngineMs; ///< ring buffer, same positions
    int Next = 0;                ///< where the next frame goes
};

void AddToHistory(TFrameHistory& history, const TFrameStats& frame);
/// Values in time order (oldest first).
std::vector<float> InTimeOrder(const TFrameHistory& history, const std::vector<float>& ring);

} // namespace lumidor
