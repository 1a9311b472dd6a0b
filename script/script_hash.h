#pragma once
// A script's particles as one line of text: the time played, the live particle count and a 64-bit
// hash of every live particle's record. Any host that runs a script (the checker, a test, the web
// page) prints the same line for the same particles, so two runs agree exactly when their lines do.
// The hash is FNV-1a 64 over a byte layout fixed here and in the README, simple enough to redo in
// any language.

#include "../engine/particle_array.h"
#include "../engine/particle_container.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// FNV-1a 64's offset basis: the hash of no bytes, where every particle hash starts.
inline constexpr std::uint64_t ParticleHashBasis = 0xcbf29ce484222325ull;
/// FNV-1a 64's prime.
inline constexpr std::uint64_t ParticleHashPrime = 0x100000001b3ull;

/// `hash` followed by the bytes of one particle's record: Tile (int32), then Position,
/// MagnetImpulse, Force, Velocity, Inertia, Enlargement, Size, Color and MagnetForce (x, y, z each),
/// Mass, LifeLength, LifeLeft, Alpha, FadeInAlpha, FadeOutAlpha, BeginFadeOut, EndFadeIn and
/// AirResistance (each a float's IEEE bits, little-endian), then FadeOut and FadeIn (one byte, 0 or 1).
/// DebugTip is left out: only the debug view writes it.
std::uint64_t HashParticle(std::uint64_t hash, const TParticle& particle);
/// The hash of every type's particles, types in order: per type its particle count (uint64,
/// little-endian), then each particle (HashParticle) in index order; starts from ParticleHashBasis.
std::uint64_t HashParticleTypes(const std::vector<TParticleEffectContainer>& containers);
/// Live particles of every type together.
std::int64_t LiveParticleCount(const std::vector<TParticleEffectContainer>& containers);
/// The seconds of `steps` fixed steps (SecondsOfSteps) in their shortest form that reads back to the
/// same double, with a '.' whatever the locale, no exponent and no trailing zeros: 150 steps is "2.5",
/// 31 is "0.5166666666666667" (as JavaScript's String(steps / 60) writes it).
std::string FormatStepSeconds(std::int64_t steps);
/// "t=SECONDS steps=N particles=P hash=H" (no line break): SECONDS as FormatStepSeconds writes it,
/// P as LiveParticleCount, H the HashParticleTypes of the containers as 16 lowercase hex digits.
std::string SimulationLine(std::int64_t steps, const std::vector<TParticleEffectContainer>& containers);

} // namespace lumidor
