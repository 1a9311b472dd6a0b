#include "app/desktop/frame_timer.h"

#include "app/core/caption.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lumidor;

namespace {

// A clock the test sets by hand.
struct TScriptedClock {
    std::uint64_t Frequency = 0;
    std::uint64_t Counter = 0;
    std::uint32_t Ticks = 0;

    TCounterSource Source() {
        return {[this] { return Frequency; }, [this] { return Counter; }, [this] { return Ticks; }};
    }
};

} // namespace

TEST(FrameTimer, HighResolutionCounterMeasuresTicksTimesResolution) {
    TScriptedClock clock;
    clock.Frequency = 1'000'000;
    clock.Counter = 5'000;
    THighResCounter counter;
    counter.Elapsed = 0.5f;
    Start(counter, clock.Source());
    EXPECT_TRUE(counter.HasHighResolution);
    EXPECT_EQ(counter.Frequency, 1'000'000);
    EXPECT_EQ(counter.LastCount, 5'000);
    EXPECT_EQ(counter.Resolution, 1.0e-6f);
    EXPECT_EQ(counter.Elapsed, 0.5f); // Start leaves Elapsed alone

    clock.Counter = 21'667;
    Tick(counter, clock.Source());
    EXPECT_EQ(counter.CurrentCount, 21'667);
    EXPECT_EQ(counter.LastCount, 21'667);
    EXPECT_NEAR(counter.Elapsed, 0.016667f, 1e-7f);

    Tick(counter, clock.Source()); // no time passed
    EXPECT_EQ(counter.Elapsed, 0.0f);
}

TEST(FrameTimer, ResolutionIsRoundedToFloatAndTheProductToo) {
    TScriptedClock clock;
    clock.Frequency = 3;
    THighResCounter counter;
    Start(counter, clock.Source());
    EXPECT_EQ(counter.Resolution, static_cast<float>(1.0L / 3.0L));
    clock.Counter = 300;
    Tick(counter, clock.Source());
    EXPECT_EQ(counter.Elapsed, static_cast<float>(300.0L * static_cast<long double>(counter.Resolution)));
    EXPECT_NEAR(counter.Elapsed, 100.0f, 1e-4f);
}

TEST(FrameTimer, HugeCounterValuesStillGiveTheDifference) {
    TScriptedClock clock;
    clock.Frequency = 10'000'000;
    clock.Counter = 0xFFFF'FFFF'FFFF'FF00ull;
    THighResCounter counter;
    Start(counter, clock.Source());
    clock.Counter += 100'000;
    Tick(counter, clock.Source());
    EXPECT_NEAR(counter.Elapsed, 0.01f, 1e-7f);
}

TEST(FrameTimer, MillisecondFallbackWithZeroFrameTimeAndInfiniteRate) {
    TScriptedClock clock; // Frequency 0: no high-resolution counter
    clock.Ticks = 1'000;
    clock.Counter = 123; // must not be read
    THighResCounter counter;
    Start(counter, clock.Source());
    EXPECT_FALSE(counter.HasHighResolution);
    EXPECT_EQ(counter.Resolution, 0.001f);
    EXPECT_EQ(counter.LastCount, 1'000);

    clock.Ticks = 1'016;
    Tick(counter, clock.Source());
    EXPECT_NEAR(counter.Elapsed, 0.016f, 1e-7f);

    Tick(counter, clock.Source()); // two frames within the same millisecond
    EXPECT_EQ(counter.Elapsed, 0.0f);
    const float framesPerSecond = 1.0f / counter.Elapsed;
    EXPECT_TRUE(std::isinf(framesPerSecond));
    EXPECT_EQ(CaptionText(framesPerSecond), "Lumidor Particle Engine demonstration - Infinity FPS");
}

TEST(FrameTimer, MillisecondFallbackAcrossTheTickCountWrap) {
    TScriptedClock clock;
    clock.Ticks = 0xFFFF'FFF0u;
    THighResCounter counter;
    Start(counter, clock.Source());
    EXPECT_EQ(counter.LastCount, 0xFFFF'FFF0ll); // widened with zeros
    clock.Ticks = 0x10;                          // 32 ms later, after the wrap
    Tick(counter, clock.Source());
    EXPECT_NEAR(counter.Elapsed, 0.032f, 1e-7f);
    EXPECT_EQ(counter.LastCount, 0x10);
}
