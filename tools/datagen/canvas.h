#pragma once
// Float pictures the generator paints into, and the small maths it paints with.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor::datagen {

/// A picture of `Channels` floats per pixel (nominally 0..1), top row first.
struct TCanvas {
    int Width = 0;
    int Height = 0;
    int Channels = 0;
    std::vector<float> Values;
};

/// A canvas of the given size filled with zeros.
TCanvas MakeCanvas(int width, int height, int channels);
/// The channel values of pixel (x, y); x to the right, y downwards, both in range.
float* PixelAt(TCanvas& canvas, int x, int y);
/// Bytes of the canvas, each value clamped to 0..1 and rounded to 0..255, top row first.
std::vector<std::uint8_t> ToBytes(const TCanvas& canvas);

/// Hermite step from 0 at `edge0` to 1 at `edge1` (edges may be given in either order).
float SmoothStep(float edge0, float edge1, float x);
/// Deterministic value noise in 0..1, smooth (quintic), period-free; `seed` picks the pattern.
float ValueNoise(float x, float y, std::uint32_t seed);
/// Fractal sum of `octaves` value-noise layers, each at twice the frequency and half the weight; 0..1.
float FractalNoise(float x, float y, int octaves, std::uint32_t seed);
/// Deterministic hash of three integers to 0..1, for scattering things without a generator.
float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c);
/// Separable box blur of every channel, `radius` pixels, `passes` times (three passes look
/// Gaussian); pixels outside the picture do not count, so edges keep their level.
void BoxBlur(TCanvas& canvas, int radius, int passes);

} // namespace lumidor::datagen
