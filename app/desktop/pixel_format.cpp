#include "app/desktop/pixel_format.h"

#include <algorithm>

namespace lumidor {

TColourBits SplitColourBits(int bitsPerPixel) {
    TColourBits bits;
    if (bitsPerPixel <= 0) return bits;
    const int total = std::min(bitsPerPixel, 64);
    bits.Alpha = total >= 32 ? total / 4 : 0;
    const int colour = total - bits.Alpha;
    bits.Red = bits.Green = bits.Blue = colour / 3;
    const int remainder = colour % 3;
    if (remainder >= 1) ++bits.Green;
    if (remainder >= 2) ++bits.Red;
    return bits;
}

std::vector<int> ColourBitCandidates(int bitsPerPixel) {
    if (bitsPerPixel <= 0) return {bitsPerPixel}; // already "any format"
    std::vector<int> candidates{bitsPerPixel};
    for (int fewer : {32, 24, 16, 0}) {
        if (fewer < bitsPerPixel) candidates.push_back(fewer);
    }
    if (candidates.back() != 0) candidates.push_back(0);
    return candidates;
}

} // namespace lumidor
