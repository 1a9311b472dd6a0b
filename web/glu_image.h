#pragma once
// The image work of gluBuild2DMipmaps, which WebGL does not have: the caller's rows unpacked from
// their alignment, each side rounded to a power of two as GLU rounds it and kept within the largest
// texture, and the image scaled to that size. Plain arithmetic on bytes, tested natively.

#include <cstdint>
#include <vector>

namespace lumidor::web {

/// A texture's width and height in pixels.
struct TImageSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TImageSize&, const TImageSize&) = default;
};

/// GLU's rounding of a texture side: the nearest power of two, a value of 3 x 2^k rounding up
/// (5 -> 4, 6 -> 8, 12 -> 16). 0 for a value below 1; at most 2^30, the largest an int holds.
int NearestPowerOfTwo(int value);

/// The base level gluBuild2DMipmaps makes of a width x height image: each side rounded by
/// NearestPowerOfTwo, then both halved (never below 1) until neither exceeds `maxSize`; no limit
/// when `maxSize` < 1. {0, 0} for a side below 1.
TImageSize MipmapBaseSize(int width, int height, int maxSize);

/// The width x height image of `channels` bytes a pixel whose rows start every `alignment` bytes in
/// `data` (GL_UNPACK_ALIGNMENT: 1, 2, 4 or 8), as tightly packed rows. Empty for a null `data`, a
/// size below 1 or another alignment.
std::vector<std::uint8_t> UnpackRows(const std::uint8_t* data, int width, int height, int channels,
                                     int alignment);

/// The tightly packed width x height image `in` of `channels` bytes a pixel, resampled to newWidth
/// x newHeight: each new pixel is the mean of the source area it covers, each source pixel weighted
/// by how much of it lies inside (a box filter both ways), rounded to the nearest byte. Empty when
/// any size is below 1 or `in` is null.
std::vector<std::uint8_t> ScaleImage(const std::uint8_t* in, int width, int height, int channels,
                                     int newWidth, int newHeight);

} // namespace lumidor::web
