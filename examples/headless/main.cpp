// A fountain of 100,000 particles with a magnet and a floor, simulated for 10 seconds of frames
// without any window or GL context. Prints the particles simulated per second and writes a top
// view of the final positions as a PNG.
//
// Usage: lumidor-headless-fountain [--help] [OUTPUT.png]   (default fountain.png)

#include <lumidor/lumidor.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

constexpr std::int32_t kParticles = 100'000;
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr int kFrames = 600; // 10 seconds
constexpr float kFloorHalfSide = 12.0f;

// Tops the fountain up to kParticles: new particles leave the nozzle upwards in a narrow cone.
void Emit(TParticleEffectContainer& fountain) {
    for (std::int32_t i = ParticleCount(fountain); i < kParticles; ++i) {
        AddParticle(fountain, {0.0f, 0.3f, 0.0f}, {0.05f, 0.05f, 0.0f}, {0.4f, 0.7f, 1.0f}, 0,
                    2.0f + R() * 2.0f);
        SetParticleForce(fountain, {0.0f, -12.0f, 0.0f}, i);                  // gravity
        const float angle = 6.2831853f * R(), spread = 1.6f * std::sqrt(R()); // a round cone
        SetParticleVelocity(fountain, {spread * std::cos(angle), 7.0f + R() * 2.0f, spread * std::sin(angle)},
                            i);
        SetParticleAirResistance(fountain, i, 0.1f);
    }
}

// A flat floor at height 0 under the whole scene: particles bounce and lose a third of their speed.
void AddFloor(TParticleEffectContainer& fountain) {
    constexpr int points = 9;
    auto floor = std::make_shared<HDataArray>(points, std::vector<float>(points, 0.0f));
    const float cell = 2.0f * kFloorHalfSide / float(points - 1);
    SetCollisionWorld(fountain, floor, {-kFloorHalfSide, 0.0f, -kFloorHalfSide}, cell, cell);
    SetWorldFriction(fountain, {0.3f, 0.3f, 0.3f});
}

// Top view (x to the right, z downwards) of the particles, each adding light to its pixel.
bool WriteTopView(const TParticleEffectContainer& fountain, const std::string& fileName) {
    constexpr int side = 512;
    std::vector<float> light(std::size_t(side) * side, 0.0f);
    for (const TParticle& particle : fountain.Particles) {
        const int x = int((particle.Position.x + kFloorHalfSide) / (2 * kFloorHalfSide) * side);
        const int y = int((particle.Position.z + kFloorHalfSide) / (2 * kFloorHalfSide) * side);
        if (x >= 0 && y >= 0 && x < side && y < side) light[std::size_t(y) * side + std::size_t(x)] += 1.0f;
    }
    std::vector<std::uint8_t> pixels(std::size_t(side) * side * 3);
    for (std::size_t i = 0; i < light.size(); ++i) {
        const float l = 1.0f - std::exp(-0.15f * light[i]); // soft saturation where particles pile up
        pixels[3 * i + 0] = std::uint8_t(255 * l * 0.5f);
        pixels[3 * i + 1] = std::uint8_t(255 * l * 0.8f);
        pixels[3 * i + 2] = std::uint8_t(255 * l);
    }
    return stbi_write_png(fileName.c_str(), side, side, 3, pixels.data(), side * 3) != 0;
}

constexpr const char* Usage =
    "usage: lumidor-headless-fountain [--help] [--] [OUTPUT.png]\n"
    "  Simulates a fountain of 100,000 particles for 10 seconds of frames without a window or GL,\n"
    "  prints the particles simulated per second and writes a top view of the final positions to\n"
    "  OUTPUT.png (default fountain.png; after \"--\" a name may start with '-').\n"
    "exit status: 0 done, 1 the picture could not be written, 2 bad arguments\n";

/// The output file from the arguments: 0 to go on, otherwise the exit status (-1 after --help).
int ParseArguments(int argc, char** argv, std::string& output) {
    bool namesOnly = false;
    bool named = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!namesOnly && (argument == "--help" || argument == "-h")) {
            std::fputs(Usage, stdout);
            return -1;
        }
        if (!namesOnly && argument == "--") {
            namesOnly = true;
        } else if (!namesOnly && argument.starts_with('-')) {
            std::fprintf(stderr, "lumidor-headless-fountain: unknown option %s\n%s", argument.c_str(), Usage);
            return 2;
        } else if (named) {
            std::fprintf(stderr, "lumidor-headless-fountain: only one OUTPUT.png can be written\n%s", Usage);
            return 2;
        } else {
            output = argument;
            named = true;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string output = "fountain.png";
    if (const int status = ParseArguments(argc, argv, output); status != 0) return status < 0 ? 0 : status;
    SeedRandom(1);

    TParticleEffectContainer fountain;
    SetTextureProperties(fountain, 0, 1, 1);
    AddFloor(fountain);
    AddMagnetPoint(fountain, {3.0f, 1.0f, 2.0f}, 5.0f, -40.0f); // mode 1, negative gravity: attracts

    std::vector<TParticleVertex> vertices;
    std::int64_t simulated = 0;
    std::chrono::steady_clock::duration busy{};
    std::clock_t busyCpu = 0; // CPU time too: on a loaded machine the wall clock also counts other programs
    for (int frame = 0; frame < kFrames; ++frame) {
        Emit(fountain);
        vertices.resize(4 * std::size_t(ParticleCount(fountain)));
        simulated += ParticleCount(fountain);
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t startCpu = std::clock();
        SimulateParticles(fountain, kFrameTime, TCameraAxes{}, vertices.data());
        busyCpu += std::clock() - startCpu;
        busy += std::chrono::steady_clock::now() - start;
    }

    const double seconds = std::chrono::duration<double>(busy).count();
    const double cpuSeconds = double(busyCpu) / CLOCKS_PER_SEC;
    std::printf("%d frames of %d particles: %lld particle updates in %.3f s, %.0f particles per second "
                "(%.0f per second of CPU time)\n",
                kFrames, kParticles, static_cast<long long>(simulated), seconds, double(simulated) / seconds,
                cpuSeconds > 0 ? double(simulated) / cpuSeconds : 0.0);
    if (!WriteTopView(fountain, output)) {
        std::fprintf(stderr, "Could not write %s\n", output.c_str());
        return 1;
    }
    std::printf("Top view written to %s\n", output.c_str());
    return 0;
}
