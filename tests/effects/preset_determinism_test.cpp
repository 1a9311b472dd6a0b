// Regression check of every preset: from the start-up state, with a fixed seed and a fixed frame
// time, 120 frames leave a summary of each shared system (count and sums of positions, colours,
// opacities and sizes) that must match the one recorded here. Any change of behaviour shows.
// When a change is intended, the failure message prints the new row to paste into the table.

#include "effects/effect_slots.h"
#include "effects_fixture.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

struct TSummary {
    int Count = 0;
    double X = 0, Y = 0, Z = 0, Color = 0, Alpha = 0, Size = 0;
};

TSummary Summarize(const TParticleEffectContainer& c) {
    TSummary s;
    s.Count = ParticleCount(c);
    for (const TParticle& p : c.Particles) {
        s.X += p.Position.x;
        s.Y += p.Position.y;
        s.Z += p.Position.z;
        s.Color += double(p.Color.x) + p.Color.y + p.Color.z;
        s.Alpha += p.Alpha;
        s.Size += p.Size.x;
    }
    return s;
}

struct TRecorded {
    int Slot;
    TSummary Floor, Additive, Terrain;
};

std::string Format(const TSummary& s) {
    char text[256];
    std::snprintf(text, sizeof text, "{%d, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g}", s.Count, s.X, s.Y, s.Z,
                  s.Color, s.Alpha, s.Size);
    return text;
}

bool Matches(const TSummary& actual, const TSummary& expected) {
    const auto near = [](double a, double e) {
        return std::abs(a - e) <= std::max(1e-4, 1e-6 * std::abs(e));
    };
    return actual.Count == expected.Count && near(actual.X, expected.X) && near(actual.Y, expected.Y) &&
           near(actual.Z, expected.Z) && near(actual.Color, expected.Color) &&
           near(actual.Alpha, expected.Alpha) && near(actual.Size, expected.Size);
}

/// A bumpy 33 x 33 ground under the stress test's jet, standing in for the height map.
void InstallTestTerrain() {
    auto grid = std::make_shared<HDataArray>(33, std::vector<float>(33));
    for (int x = 0; x < 33; ++x) {
        for (int z = 0; z < 33; ++z)
            (*grid)[std::size_t(x)][std::size_t(z)] = 4.5f + 0.5f * std::sin(x * 0.4f) * std::cos(z * 0.3f);
    }
    TerrainOrigin = {-7.5f, -5, -7.5f};
    SetCollisionWorld(TerrainEffect, grid, TerrainOrigin, 15.0f / 32, 15.0f / 32);
    SetWorldFriction(TerrainEffect, {0.5f, 0.5f, 0.5f});
}

// Recorded from this implementation after the behaviour tests of the other suites passed.
const TRecorded Recorded[] = {
    {0,
     {300, 0.0854515126, 4.11132256, -5.22472376, 570.000011, 161.921359, 160.32499},
     {20, 0.118822225, 29.4123393, 1.29879301, 6.00000009, 8.7407361, 29.1800025},
     {0, 0, 0, 0, 0, 0, 0}},
    {1,
     {200, -5.65477893, -48.5881225, -0.601850732, 60.0000009, 170.359112, 157.009969},
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0}},
    {2,
     {62, -3.84249603, -9.12819052, -11.1979399, 73.2000006, 21.1501879, 77.5075182},
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0}},
    {3,
     {400, -0.0569291896, 46.0795688, -36.2555377, 440.000001, 176.495382, 256.124994},
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0}},
    {4,
     {30, -1.2228466, -30, 0, 48.9900005, 13.4378156, 24.0749911},
     {800, 2.51405688, 510.149058, 84.926406, 1000, 763, 160.000002},
     {0, 0, 0, 0, 0, 0, 0}},
    {5,
     {0, 0, 0, 0, 0, 0, 0},
     {1200, -18.8307075, -18.8307075, 0, 2640.00006, 1200, 240.000004},
     {0, 0, 0, 0, 0, 0, 0}},
    {6,
     {0, 0, 0, 0, 0, 0, 0},
     {1200, -1.0867303, -1.38338551, 0, 2640.00006, 959.994578, 240.000004},
     {0, 0, 0, 0, 0, 0, 0}},
    {7,
     {2, 0, 0, 0, 6, 1, 2.99876225},
     {39, -0.547645061, 19.512491, 0.789538814, 14.4300002, 19.933944, 24.2675021},
     {0, 0, 0, 0, 0, 0, 0}},
    {8,
     {297, -10.7296788, -237.600004, 1.65765174, 445.500002, 141.149641, 79.1724844},
     {2000, 8.13215263, -41.4322943, 15.5479222, 980.000019, 1614.40261, 400.000006},
     {0, 0, 0, 0, 0, 0, 0}},
    {9,
     {1982, -10.0215143, -1266.14367, -11.7160372, 772.980001, 1849.04254, 820.919625},
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0}},
    {10,
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0},
     {10000, -7113.3876, -4740.10757, 31401.3738, 24499.9999, 9940.49846, 2000.00003}},
    {14,
     {200, 3.42472846, -3.97376156, 98.0966054, 30.0000004, 161.573439, 465.875421},
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0}},
    {15,
     {0, 0, 0, 0, 0, 0, 0},
     {1200, -86.5402769, -33.9182347, 0, 2640.00006, 1200, 240.000004},
     {0, 0, 0, 0, 0, 0, 0}},
    {16,
     {10000, 269.943766, 11159.2792, 22.5526361, 27999.9995, 8598.09514, 1000.00001},
     {0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0}},
    {18,
     {59, 6.03718465, -64.4047862, 0, 112.100002, 31.4371019, 3.52250025},
     {1, 0.126964927, -0.870513439, 0, 3, 1, 0.5},
     {0, 0, 0, 0, 0, 0, 0}},
};

class Determinism : public EffectsTest, public ::testing::WithParamInterface<int> {};

TEST_P(Determinism, HundredTwentyFramesMatchTheRecording) {
    const int slot = GetParam();
    InstallTestTerrain();
    SeedRandom(7);
    FrameTime = 0.025f; // 3 s: past the explosion at 2 s and into the second firework cycle
    for (int frame = 0; frame < 120; ++frame)
        ASSERT_TRUE(RunEffectSlot(slot, {}));
    const TSummary floor = Summarize(FloorEffect), additive = Summarize(AdditiveEffect),
                   terrain = Summarize(TerrainEffect);
    const std::string row = "    {" + std::to_string(slot) + ", " + Format(floor) + ",\n     " +
                            Format(additive) + ",\n     " + Format(terrain) + "},";
    const TRecorded* recorded = nullptr;
    for (const TRecorded& r : Recorded)
        recorded = r.Slot == slot ? &r : recorded;
    ASSERT_NE(recorded, nullptr) << "no recording for slot " << slot << "; this run gives\n" << row;
    EXPECT_TRUE(Matches(floor, recorded->Floor) && Matches(additive, recorded->Additive) &&
                Matches(terrain, recorded->Terrain))
        << "slot " << slot << " (" << EffectSlotCaption(slot) << ") now gives\n"
        << row;
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, Determinism,
                         ::testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 18),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Slot" + std::to_string(info.param);
                         });

} // namespace
