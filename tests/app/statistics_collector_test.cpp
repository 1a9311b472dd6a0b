// The frame statistics gathered around the passes with the caller's clock, and the --stats file's
// failures reported rather than lost.

#include "app/debug/statistics_collector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace lumidor;

namespace {

std::string NameOf(const TParticleEffectContainer& container) {
    return ParticleCount(container) == 0 ? "empty" : "busy";
}

} // namespace

TEST(StatisticsCollector, PassesAreTimedOnTheGivenClockAndOnlyInsideTheEffectPass) {
    TStatisticsCollector collector;
    TParticleEffectContainer busy, empty;
    AddParticle(busy, {}, {1, 1, 1}, {1, 1, 1}, 0, 1.0f);
    AddMagnetPoint(busy, {}, 1.0f, 1.0f);

    BeginPassGathering(collector, busy, 1.0); // before any effect pass: not gathered
    EXPECT_TRUE(collector.Passes.empty());

    BeginEffectPassGathering(collector, 0.04f, 7, 100.0);
    BeginPassGathering(collector, busy, 110.0);
    EndPassGathering(collector, busy, 112.5);
    BeginPassGathering(collector, empty, 113.0);
    EndPassGathering(collector, busy, 150.0);             // not the pass that began last: no time for it
    AddParticle(busy, {}, {1, 1, 1}, {1, 1, 1}, 0, 1.0f); // emitted after its pass: counted as live
    EndEffectPassGathering(collector, 120.0, &NameOf);
    BeginPassGathering(collector, busy, 121.0); // after the effect pass: not gathered
    EXPECT_TRUE(collector.Passes.empty());

    const TFrameStats frame = CompleteFrame(collector, 25.0);
    EXPECT_EQ(frame.Frame, 1);
    EXPECT_EQ(frame.Dt, 0.04f);
    EXPECT_EQ(frame.Slot, 7);
    EXPECT_DOUBLE_EQ(frame.EngineMs, 20.0);
    EXPECT_DOUBLE_EQ(frame.FrameMs, 25.0);
    ASSERT_EQ(frame.Systems.size(), 2u);
    EXPECT_EQ(frame.Systems[0].Name, "busy");
    EXPECT_DOUBLE_EQ(frame.Systems[0].PassMs, 2.5);
    EXPECT_EQ(frame.Systems[0].Swept, 1);
    EXPECT_EQ(frame.Systems[0].Live, 2);
    EXPECT_EQ(frame.Systems[0].Magnets, 1);
    EXPECT_EQ(frame.Systems[1].Name, "empty");
    EXPECT_EQ(frame.Systems[1].PassMs, 0.0);

    BeginEffectPassGathering(collector, 0.04f, 7, 200.0);
    EXPECT_EQ(collector.Building.Frame, 2);
    EXPECT_TRUE(collector.Building.Systems.empty()); // every frame starts empty
}

TEST(StatisticsCollector, AStatsFileThatCannotBeWrittenSaysSoAndStops) {
    TStatsFile stats;
    EXPECT_TRUE(CloseStatsFile(stats)); // nothing open, nothing lost
    std::string error;
    ASSERT_TRUE(OpenStatsFile(stats, "/dev/full", error)) << error;
    TFrameStats frame;
    frame.Frame = 1;
    ::testing::internal::CaptureStderr();
    WriteStatsLine(stats, frame);
    WriteStatsLine(stats, frame); // said once
    const bool closed = CloseStatsFile(stats);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(closed);
    EXPECT_EQ(said, "Could not write the frame statistics to /dev/full: No space left on device\n");
    EXPECT_EQ(stats.File, nullptr);

    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("lumidor_stats_" + std::to_string(::getpid()) + ".jsonl");
    ASSERT_TRUE(OpenStatsFile(stats, file.string(), error)) << error;
    WriteStatsLine(stats, frame);
    frame.Frame = 2;
    WriteStatsLine(stats, frame);
    EXPECT_TRUE(CloseStatsFile(stats));
    std::ifstream in(file);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    frame.Frame = 1;
    EXPECT_EQ(first, FrameStatsJson(frame));
    EXPECT_EQ(second.rfind("{\"frame\":2,", 0), 0u) << second;
    std::filesystem::remove(file);
}
