// The timeline's state logic: clamping, pause and steps, and the per-frame decision (timeline.h).

#include "app/core/timeline.h"

#include <algorithm>
#include <cmath>

namespace lumidor {

namespace {

/// Steps queued beyond this are dropped: a held key cannot queue minutes of work.
constexpr std::int32_t MaxPendingSteps = 600;

} // namespace

void SetTimelineSpeed(TTimeline& timeline, float speed) {
    timeline.Speed = std::isnan(speed) ? 1.0f : std::clamp(speed, MinTimelineSpeed, MaxTimelineSpeed);
}

void ToggleTimelinePause(TTimeline& timeline) {
    timeline.Paused = !timeline.Paused;
    timeline.StepsPending = 0;
}

void StepTimeline(TTimeline& timeline) {
    timeline.Paused = true;
    timeline.StepsPending = std::min(timeline.StepsPending + 1, MaxPendingSteps);
}

void SeekTimeline(TTimeline& timeline, double seconds) {
    timeline.SeekPending = std::min(StepsForSeconds(seconds), MaxTimelineSeekSteps);
}

void RestartTimeline(TTimeline& timeline) {
    timeline.SeekPending = 0;
}

void FollowTimelineEffect(TTimeline& timeline, int slot) {
    if (slot == timeline.Slot) return;
    timeline.Slot = slot;
    timeline.SeekPending.reset();
    timeline.PresetSeconds = 0.0;
}

TTimelineFrame NextTimelineFrame(TTimeline& timeline, float frameTime) {
    TTimelineFrame frame;
    frame.SeekTo = timeline.SeekPending;
    timeline.SeekPending.reset();
    if (frame.SeekTo) timeline.PresetSeconds = SecondsOfSteps(*frame.SeekTo);
    if (!timeline.Paused) {
        frame.Dt = timeline.Speed == 1.0f ? frameTime : frameTime * timeline.Speed;
    } else if (timeline.StepsPending > 0) {
        --timeline.StepsPending;
        frame.Dt = TimelineStepSeconds;
    } else {
        frame.Still = true;
    }
    if (frame.Dt > 0.0f && std::isfinite(frame.Dt)) timeline.PresetSeconds += double(frame.Dt);
    return frame;
}

double TimelineSliderEnd(std::optional<double> effectLength) {
    if (!effectLength || !(*effectLength < MaxTimelineSeekSeconds)) return MaxTimelineSeekSeconds;
    return std::max(std::ceil(*effectLength), 1.0);
}

} // namespace lumidor
