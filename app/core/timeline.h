#pragma once
// The state behind the "Timeline" window, with no platform, GL or effect in it: pause, single steps,
// speed, and restart and seek requests. Each frame asks it what the effect does: run for some seconds
// (the host's frame time times the speed, or one fixed step while paused), or stand still and only be
// drawn; a pending seek is handed out once, on the next frame.

#include "engine/fixed_steps.h"

#include <cstdint>
#include <optional>

namespace lumidor {

/// Slowest and fastest speed of the effect's clock, times real time.
inline constexpr float MinTimelineSpeed = 0.25f;
inline constexpr float MaxTimelineSpeed = 4.0f;
/// Seconds one single step runs the effect: the step seeking re-runs in, so that seeking to T and
/// then stepping k times gives what seeking to T + k steps gives.
inline constexpr float TimelineStepSeconds = FixedStepSeconds;
/// Latest time a seek goes to, seconds after the effect's start: the seek slider's range for an effect
/// whose length is not known.
inline constexpr double MaxTimelineSeekSeconds = 60.0;
/// The same in steps.
inline constexpr std::int64_t MaxTimelineSeekSteps = std::int64_t(MaxTimelineSeekSeconds) * StepsPerSecond;

/// The timeline's state; the value-initialised record runs at normal speed.
struct TTimeline {
    bool Paused = false;                     ///< the effect stands still (drawn, not simulated)
    float Speed = 1.0f;                      ///< MinTimelineSpeed .. MaxTimelineSpeed
    std::int32_t StepsPending = 0;           ///< single steps asked for while paused, run one a frame
    std::optional<std::int64_t> SeekPending; ///< steps after the start to bring the effect to; 0 restarts
    std::uint64_t Seed = 0;                  ///< the random generator's seed of every restart and seek
    int Slot = -1;                           ///< the effect the clock below belongs to
    double PresetSeconds = 0.0;              ///< a preset's seconds since its restart, seek or selection
};

/// What one frame does with the effect.
struct TTimelineFrame {
    bool Still = false;                 ///< only drawn: no particle moves, none is born or dies
    float Dt = 0.0f;                    ///< seconds the effect runs this frame; 0 when Still
    std::optional<std::int64_t> SeekTo; ///< before the frame: restart and run to this many steps
};

/// Sets the speed, clamped to MinTimelineSpeed .. MaxTimelineSpeed; a NaN gives normal speed.
void SetTimelineSpeed(TTimeline& timeline, float speed);
/// Pauses a running effect or runs a paused one; steps not yet run are dropped on resuming.
void ToggleTimelinePause(TTimeline& timeline);
/// Pauses and asks for one step of TimelineStepSeconds (at most 600 wait, the rest are dropped).
void StepTimeline(TTimeline& timeline);
/// Asks for the effect to be brought to the step nearest to `seconds` after its start on the next
/// frame, clamped to 0 .. MaxTimelineSeekSteps (a NaN is 0); a later request replaces one not yet run.
void SeekTimeline(TTimeline& timeline, double seconds);
/// A seek to 0: the effect starts again, with the timeline's seed.
void RestartTimeline(TTimeline& timeline);
/// Notes the current effect: another effect than last frame's drops a pending seek (it was meant for
/// the other one) and starts the preset clock at 0.
void FollowTimelineEffect(TTimeline& timeline, int slot);
/// The frame's decision for a host frame of `frameTime` seconds: a running effect runs frameTime times
/// the speed (exactly frameTime at speed 1); a paused one runs one pending step or stands still. Takes
/// the pending seek, and advances PresetSeconds by the seconds run (set to the seek's time first).
TTimelineFrame NextTimelineFrame(TTimeline& timeline, float frameTime);
/// The end of the seek slider, fixed for an effect: its length in seconds when it is known (rounded up
/// to a whole second, at least one), else MaxTimelineSeekSeconds; never beyond MaxTimelineSeekSeconds.
double TimelineSliderEnd(std::optional<double> effectLength);

} // namespace lumidor
