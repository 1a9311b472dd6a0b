#include "app/debug/statistics_collector.h"

#include <cerrno>
#include <cstring>

namespace lumidor {

void BeginEffectPassGathering(TStatisticsCollector& collector, float dt, int slot, double nowMs) {
    collector.Building = TFrameStats{};
    collector.Building.Frame = ++collector.FramesDrawn;
    collector.Building.Dt = dt;
    collector.Building.Slot = slot;
    collector.Passes.clear();
    collector.InEffectPass = true;
    collector.EffectPassStartMs = nowMs;
}

void BeginPassGathering(TStatisticsCollector& collector, const TParticleEffectContainer& container,
                        double nowMs) {
    if (!collector.InEffectPass) return;
    TStatisticsCollector::TPass pass;
    pass.Container = &container;
    pass.Stats.Swept = ParticleCount(container);
    pass.Stats.Magnets = std::int32_t(container.MagnetPoints.size());
    collector.Passes.push_back(pass);
    collector.PassStartMs = nowMs;
}

void EndPassGathering(TStatisticsCollector& collector, const TParticleEffectContainer& container,
                      double nowMs) {
    if (!collector.InEffectPass) return;
    if (!collector.Passes.empty() && collector.Passes.back().Container == &container)
        collector.Passes.back().Stats.PassMs = nowMs - collector.PassStartMs;
}

void EndEffectPassGathering(TStatisticsCollector& collector, double nowMs,
                            const std::function<std::string(const TParticleEffectContainer&)>& nameOf) {
    collector.Building.EngineMs = nowMs - collector.EffectPassStartMs;
    collector.InEffectPass = false;
    for (TStatisticsCollector::TPass& pass : collector.Passes) {
        pass.Stats.Name = nameOf(*pass.Container);
        pass.Stats.Live = ParticleCount(*pass.Container);
        collector.Building.Systems.push_back(pass.Stats);
    }
    collector.Passes.clear();
}

TFrameStats CompleteFrame(TStatisticsCollector& collector, double frameMs) {
    collector.Building.FrameMs = frameMs;
    return collector.Building;
}

bool OpenStatsFile(TStatsFile& stats, const std::string& fileName, std::string& error) {
    std::FILE* file = std::fopen(fileName.c_str(), "w");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    stats.File = file;
    stats.Name = fileName;
    stats.Failed = false;
    return true;
}

void WriteStatsLine(TStatsFile& stats, const TFrameStats& frame) {
    if (!stats.File || stats.Failed) return;
    const std::string line = FrameStatsJson(frame) + "\n";
    if (std::fputs(line.c_str(), stats.File) < 0 || std::fflush(stats.File) != 0) {
        std::fprintf(stderr, "Could not write the frame statistics to %s: %s\n", stats.Name.c_str(),
                     std::strerror(errno));
        stats.Failed = true;
    }
}

bool CloseStatsFile(TStatsFile& stats) {
    if (!stats.File) return !stats.Failed;
    if (std::fclose(stats.File) != 0 && !stats.Failed) {
        std::fprintf(stderr, "Could not write the frame statistics to %s: %s\n", stats.Name.c_str(),
                     std::strerror(errno));
        stats.Failed = true;
    }
    stats.File = nullptr;
    return !stats.Failed;
}

} // namespace lumidor
