#pragma once
// Shared set-up of the preset tests: the recording GL fake, the module's globals back at their
// start-up state (InitEffects run without an atlas file), a fixed seed, and helpers that check
// every particle of a group against the values a preset promises.

#include "effects/effects.h"
#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "engine/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lumidor::testing {

/// Messages shown during a test (the missing atlas is reported once per InitEffects).
inline std::vector<std::string>& ShownMessages() {
    static std::vector<std::string> messages;
    return messages;
}

inline void RecordMessage(const std::string& text, const std::string& caption, TMessageIcon) {
    ShownMessages().push_back(caption + "|" + text);
}

class EffectsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        previousHandler = SetMessageHandler(&RecordMessage);
        ResetEffectsForTesting();
        InitEffects();
        ShownMessages().clear();
        SeedRandom(20240607);
        FrameTime = 0.02f;
    }
    void TearDown() override {
        SetMessageHandler(previousHandler);
        ResetEffectsForTesting();
        FrameTime = 0.0f;
    }

  private:
    TMessageHandler previousHandler = nullptr;
};

/// A closed interval; a zero-width one is an exact value.
struct TRange {
    float Lo = 0.0f;
    float Hi = 0.0f;
};
inline TRange Exactly(float v) {
    return {v, v};
}

struct TRange3 {
    TRange X, Y, Z;
};
inline TRange3 Exactly3(float x, float y, float z) {
    return {Exactly(x), Exactly(y), Exactly(z)};
}

/// Everything AddParticle and the setters leave in a freshly emitted particle.
struct TParticleExpectation {
    TRange3 Position;
    TVector3 Size;
    TVector3 Color;
    std::int32_t Tile = 0;
    TRange Life;
    TRange3 Force = Exactly3(0, 0, 0);
    TVector3 Inertia{1, 1, 1};
    TVector3 Enlargement{0, 0, 0};
    float Mass = 1.0f;
    TRange3 Velocity = Exactly3(0, 0, 0); ///< the stored velocity (argument / mass)
    float BeginFadeOut = 0.0f;
    float EndFadeIn = 0.0f;
    bool FadeOut = true;
    bool FadeIn = true;
    float FadeOutAlpha = 1.0f;
    bool CheckFadeOutAlpha = true; ///< false for particles that have been through an update
};

constexpr float Tolerance = 2e-5f;

inline void ExpectIn(float value, TRange range, const char* what, int index) {
    EXPECT_GE(value, range.Lo - Tolerance) << what << " of particle " << index;
    EXPECT_LE(value, range.Hi + Tolerance) << what << " of particle " << index;
}

inline void ExpectVec(const TVector3& actual, const TVector3& expected, const char* what, int index) {
    EXPECT_NEAR(actual.x, expected.x, Tolerance) << what << ".x of particle " << index;
    EXPECT_NEAR(actual.y, expected.y, Tolerance) << what << ".y of particle " << index;
    EXPECT_NEAR(actual.z, expected.z, Tolerance) << what << ".z of particle " << index;
}

/// Checks particles [first, first + count) and, for groups of 20 or more, that every random range
/// is actually covered (the observed spread reaches half of the allowed width), so a constant where
/// a random value belongs is caught as well as a value out of range.
inline void ExpectParticles(const TParticleEffectContainer& c, int first, int count,
                            const TParticleExpectation& e) {
    ASSERT_LE(first + count, ParticleCount(c));
    struct TSpread {
        const char* Name;
        TRange Allowed;
        float Min = 1e30f, Max = -1e30f;
    };
    std::vector<TSpread> spreads = {{"Position.x", e.Position.X}, {"Position.y", e.Position.Y},
                                    {"Position.z", e.Position.Z}, {"Life", e.Life},
                                    {"Force.x", e.Force.X},       {"Force.y", e.Force.Y},
                                    {"Force.z", e.Force.Z},       {"Velocity.x", e.Velocity.X},
                                    {"Velocity.y", e.Velocity.Y}, {"Velocity.z", e.Velocity.Z}};
    for (int i = first; i < first + count; ++i) {
        const TParticle& p = c.Particles[std::size_t(i)];
        const float values[] = {p.Position.x, p.Position.y, p.Position.z, p.LifeLength, p.Force.x,
                                p.Force.y,    p.Force.z,    p.Velocity.x, p.Velocity.y, p.Velocity.z};
        for (std::size_t k = 0; k < spreads.size(); ++k) {
            ExpectIn(values[k], spreads[k].Allowed, spreads[k].Name, i);
            spreads[k].Min = std::min(spreads[k].Min, values[k]);
            spreads[k].Max = std::max(spreads[k].Max, values[k]);
        }
        EXPECT_FLOAT_EQ(p.LifeLeft, p.LifeLength) << "particle " << i << " must not have aged yet";
        ExpectVec(p.Size, e.Size, "Size", i);
        ExpectVec(p.Color, e.Color, "Color", i);
        EXPECT_EQ(p.Tile, e.Tile) << "Tile of particle " << i;
        ExpectVec(p.Inertia, e.Inertia, "Inertia", i);
        ExpectVec(p.Enlargement, e.Enlargement, "Enlargement", i);
        EXPECT_NEAR(p.Mass, e.Mass, Tolerance) << "Mass of particle " << i;
        EXPECT_NEAR(p.BeginFadeOut, e.BeginFadeOut, Tolerance) << "BeginFadeOut of particle " << i;
        EXPECT_NEAR(p.EndFadeIn, e.EndFadeIn, Tolerance) << "EndFadeIn of particle " << i;
        EXPECT_EQ(p.FadeOut, e.FadeOut) << "FadeOut of particle " << i;
        EXPECT_EQ(p.FadeIn, e.FadeIn) << "FadeIn of particle " << i;
        if (e.CheckFadeOutAlpha) {
            EXPECT_EQ(p.FadeOutAlpha, e.FadeOutAlpha) << "FadeOutAlpha of particle " << i;
        }
    }
    if (count < 20) return;
    for (const TSpread& s : spreads) {
        const float width = s.Allowed.Hi - s.Allowed.Lo;
        if (width > 0.0f) {
            EXPECT_GE(s.Max - s.Min, width * 0.5f) << s.Name << " is not spread over its range";
        }
    }
}

} // namespace lumidor::testing
