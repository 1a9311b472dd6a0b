// The particle hash and the line that carries it. Every value is fed byte by byte in little-endian
// order, whatever the host's own order, so the hash is the same on every processor and in the browser.

#include "script/script_hash.h"

#include "engine/fixed_steps.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lumidor {

namespace {

std::uint64_t HashByte(std::uint64_t hash, std::uint8_t byte) {
    return (hash ^ byte) * ParticleHashPrime;
}

std::uint64_t HashLittleEndian(std::uint64_t hash, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        hash = HashByte(hash, std::uint8_t(value >> (8 * i)));
    return hash;
}

std::uint64_t HashFloat(std::uint64_t hash, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return HashLittleEndian(hash, bits, 4);
}

std::uint64_t HashVector(std::uint64_t hash, const TVector3& value) {
    return HashFloat(HashFloat(HashFloat(hash, value.x), value.y), value.z);
}

} // namespace

std::uint64_t HashParticle(std::uint64_t hash, const TParticle& particle) {
    hash = HashLittleEndian(hash, std::uint32_t(particle.Tile), 4);
    for (const TVector3* vector :
         {&particle.Position, &particle.MagnetImpulse, &particle.Force, &particle.Velocity, &particle.Inertia,
          &particle.Enlargement, &particle.Size, &particle.Color, &particle.MagnetForce})
        hash = HashVector(hash, *vector);
    for (const float value :
         {particle.Mass, particle.LifeLength, particle.LifeLeft, particle.Alpha, particle.FadeInAlpha,
          particle.FadeOutAlpha, particle.BeginFadeOut, particle.EndFadeIn, particle.AirResistance})
        hash = HashFloat(hash, value);
    hash = HashByte(hash, particle.FadeOut ? 1 : 0);
    return HashByte(hash, particle.FadeIn ? 1 : 0);
}

std::uint64_t HashParticleTypes(const std::vector<TParticleEffectContainer>& containers) {
    std::uint64_t hash = ParticleHashBasis;
    for (const TParticleEffectContainer& container : containers) {
        const TParticleArray& particles = container.Particles;
        hash = HashLittleEndian(hash, particles.size(), 8);
        for (const TParticle particle : particles)
            hash = HashParticle(hash, particle);
    }
    return hash;
}

std::int64_t LiveParticleCount(const std::vector<TParticleEffectContainer>& containers) {
    std::int64_t count = 0;
    for (const TParticleEffectContainer& container : containers)
        count += std::int64_t(container.Particles.size());
    return count;
}

std::string FormatStepSeconds(std::int64_t steps) {
    // Fixed notation keeps the shortest round-trip digits and never switches to an exponent: every
    // count of steps up to an hour is at least 1/60 and below 1e21, where JavaScript writes the same.
    const double seconds = SecondsOfSteps(steps);
    char text[64];
#if defined(__EMSCRIPTEN__)
    // This libc++ has no floating-point to_chars; a page always runs in the "C" locale, so printf's
    // fewest significant digits that read back to the same double, without an exponent, are the same.
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, seconds);
        if (std::strchr(text, 'e') == nullptr && std::strtod(text, nullptr) == seconds) break;
    }
    return text;
#else
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed);
    return std::string(text, end.ptr);
#endif
}

std::string SimulationLine(std::int64_t steps, const std::vector<TParticleEffectContainer>& containers) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(HashParticleTypes(containers)));
    return "t=" + FormatStepSeconds(steps) + " steps=" + std::to_string(steps) +
           " particles=" + std::to_string(LiveParticleCount(containers)) + " hash=" + hash;
}

} // namespace lumidor
