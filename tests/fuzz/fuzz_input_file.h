#pragma once
// The script loader and the INI reader read files: each input is written to a file of this process.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace lumidor::fuzzing {

/// Writes the input to a per-process file in the temporary folder and returns its path.
inline std::string WriteInputFile(const char* extension, const std::uint8_t* data, std::size_t size) {
    const std::string path = "/tmp/lumidor-fuzz-" + std::to_string(::getpid()) + extension;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) __builtin_trap();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) __builtin_trap();
    std::fclose(file);
    return path;
}

} // namespace lumidor::fuzzing
