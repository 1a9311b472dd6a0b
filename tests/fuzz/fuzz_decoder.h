#pragma once
// Shared body of the decoder fuzzers: decode, then check what a caller relies on. A broken promise
// traps, which libFuzzer reports as a crash with the input that caused it.

#include "textures/image.h"

#include <cstddef>
#include <cstdint>

namespace lumidor::fuzzing {

/// Pixel cap for fuzzing: small enough that every input decodes in milliseconds.
inline constexpr std::size_t FuzzMaxPixels = std::size_t(1) << 20;

/// Traps unless the result is a consistent image or a failure with a message.
inline void CheckDecodeResult(const TDecodeResult& result) {
    if (!result.Ok) {
        if (result.Text.empty() || result.Caption.empty() || !result.Image.Pixels.empty()) __builtin_trap();
        return;
    }
    const TImage& image = result.Image;
    if (image.Width < 1 || image.Height < 1 || image.Width > MaxImageSide || image.Height > MaxImageSide)
        __builtin_trap();
    if (image.Channels != 3 && image.Channels != 4) __builtin_trap();
    if (std::size_t(image.Width) * std::size_t(image.Height) > FuzzMaxPixels) __builtin_trap();
    if (image.Pixels.size() !=
        std::size_t(image.Width) * std::size_t(image.Height) * std::size_t(image.Channels))
        __builtin_trap();
}

} // namespace lumidor::fuzzing
