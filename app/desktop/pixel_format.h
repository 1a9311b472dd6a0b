#pragma once
// Colour bits of the OpenGL pixel format: how a depth in bits per pixel splits into the per-channel
// sizes SDL asks for, and which smaller depths to try when a depth cannot be had.

#include <vector>

namespace lumidor {

/// Minimum bits per channel; all zero means "any format".
struct TColourBits {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    int Alpha = 0;
};

/// 32 -> 8/8/8/8, 24 -> 8/8/8/0, 16 -> 5/6/5/0, 15 -> 5/5/5/0, 8 -> 3/3/2/0; 32 and above give a quarter
/// of the bits to alpha, the rest are shared out red, green, blue with green then red taking any
/// remainder. Zero or negative gives all zeros. Depths above 64 are treated as 64.
TColourBits SplitColourBits(int bitsPerPixel);

/// The depths to try in order: the one asked for, then 32, 24, 16 where smaller, then 0 (any).
std::vector<int> ColourBitCandidates(int bitsPerPixel);

} // namespace lumidor
