#include "font/particle_font.h"

#include "engine/random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace lumidor {

namespace {

constexpr std::int32_t CarriageReturn = 13;

// Nearest integer, ties to even (the default rounding mode), clamped to the 32-bit range so a
// huge or non-finite product cannot overflow the conversion.
std::int32_t NearestInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return std::int32_t(std::clamp(rounded, low, high));
}

std::int32_t PointCount(const TParticleFont& font, std::size_t character) {
    return std::int32_t(font.Letters[std::size_t(font.LetterIndices[character])].Points.size());
}

// Proportional mode, once per text: each character's particle budget is ParticlesPerLetter scaled
// by its glyph's point count relative to the fullest glyph; the shares are then normalised by the
// total so that they split the missing particles. A text without any points gets no budget.
void DistributeShares(TParticleFont& font) {
    std::int32_t maxPoints = 0;
    for (std::size_t i = 0; i < font.LetterIndices.size(); ++i)
        maxPoints = std::max(maxPoints, PointCount(font, i));

    std::int64_t total = 0;
    for (std::size_t i = 0; i < font.LetterIndices.size(); ++i) {
        const float share = maxPoints > 0 ? float(PointCount(font, i)) / float(maxPoints) : 0.0f;
        font.LetterShares[i] = share;
        total += NearestInt(double(font.ParticlesPerLetter) * double(share));
    }
    total = std::clamp<std::int64_t>(total, 0, std::numeric_limits<std::int32_t>::max());
    font.TotalParticles = std::int32_t(total);

    for (float& share : font.LetterShares) {
        share = total > 0 ? float(double(font.ParticlesPerLetter) * double(share) / double(total)) : 0.0f;
    }
    font.DistributedText = font.Text;
}

// One text particle on point k of `letter`, jittered by up to one glyph pixel around it; the pen
// (penX, penY) is the top-left corner of the character's cell relative to the origin.
void EmitParticle(TParticleFont& font, const TLetter& letter, std::size_t k, const TVector3& origin,
                  float cellSize, float penX, float penY) {
    const float pixel = cellSize / float(font.CellWidth);
    const TLetterPoint& point = letter.Points[k];
    const TVector3 position{R() * pixel + cellSize * point.x - pixel / 2 + origin.x + penX,
                            R() * pixel + cellSize * point.y - pixel / 2 + origin.y + penY, origin.z};
    const TVector3 color = font.StoreColors && k < letter.Colors.size() ? letter.Colors[k] : font.Color;
    const TVector3 velocity{font.VelocityBase.x + R() * font.VelocityRange.x,
                            font.VelocityBase.y + R() * font.VelocityRange.y,
                            font.VelocityBase.z + R() * font.VelocityRange.z};

    TParticleEffectContainer& effect = font.Effect;
    AddParticle(effect, position, font.Size, color, font.Tile, font.LifeBase + R() * font.LifeRange);
    const std::int32_t index = ParticleCount(effect) - 1;
    SetParticleBeginFadeOut(effect, index, font.BeginFadeOut);
    SetParticleEndFadeIn(effect, index, font.EndFadeIn);
    SetParticleForce(effect, font.Force, index);
    SetParticleEnlargement(effect, font.Enlargement, index);
    SetParticleFading(effect, font.FadeOut, font.FadeIn, index);
    SetParticleInertia(effect, font.Inertia, index);
    SetParticleAirResistance(effect, index, font.AirResistance);
    SetParticleMass(effect, index, font.Mass);
    SetParticleVelocity(effect, velocity, index);
}

} // namespace

void UpdateAndDraw(TParticleFont& font, const TVector3& origin, float cellSize, float frameTime) {
    // A text without characters (or never set) has nothing to distribute.
    const bool hasText = font.TextLength > 0 && font.LetterIndices.size() == std::size_t(font.TextLength) &&
                         font.LetterShares.size() == std::size_t(font.TextLength);
    if (hasText) {
        if (font.Proportional && font.Text != font.DistributedText) DistributeShares(font);

        const std::int32_t count = ParticleCount(font.Effect);
        const std::int64_t missing = std::int64_t(font.TotalParticles) - count;
        const std::int32_t evenQuota = font.ParticlesPerLetter - count / font.TextLength;

        float penX = 0.0f;
        float penY = 0.0f;
        for (std::size_t i = 0; i < font.LetterIndices.size(); ++i) {
            const std::int32_t glyph = font.LetterIndices[i];
            const TLetter& letter = font.Letters[std::size_t(glyph)];
            const auto points = std::int32_t(letter.Points.size());
            // The + 0.5 rounds shares up, so the container may briefly hold a few more than
            // TotalParticles; the negative quotas that follow emit nothing until it drains.
            const std::int32_t quota = font.Proportional
                                           ? NearestInt(double(missing) * double(font.LetterShares[i]) + 0.5)
                                           : evenQuota;

            if (glyph == CarriageReturn) {
                penX = -cellSize / 2;
                penY -= cellSize;
            }
            if (quota > 0 && points > 0) {
                if (points >= quota) {
                    // The whole batch of this character in this frame sits on one point.
                    const auto k = std::size_t(Random(points));
                    for (std::int32_t j = 0; j < quota; ++j)
                        EmitParticle(font, letter, k, origin, cellSize, penX, penY);
                } else {
                    for (std::int32_t j = 0; j < quota; ++j) {
                        EmitParticle(font, letter, std::size_t(Random(points)), origin, cellSize, penX, penY);
                    }
                }
            }
            penX += cellSize / 2;
        }
    }
    UpdateAndDraw(font.Effect, frameTime);
}

} // namespace lumidor
