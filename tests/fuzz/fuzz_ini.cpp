// libFuzzer entry point for the config.ini reader with its value rules, through its public function.

#include "app/display_config.h"
#include "tests/fuzz/fuzz_input_file.h"

using namespace lumidor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzing::WriteInputFile(".ini", data, size);
    const TDisplayConfig first = ReadDisplayConfig(path);
    // The same bytes give the same settings (no state carried from one read to the next).
    const TDisplayConfig second = ReadDisplayConfig(path);
    if (first.DisplayWidth != second.DisplayWidth || first.DisplayHeight != second.DisplayHeight ||
        first.DisplayFrequency != second.DisplayFrequency ||
        first.DisplayBitsPerPixel != second.DisplayBitsPerPixel ||
        first.DisplayFullscreen != second.DisplayFullscreen)
        __builtin_trap();
    return 0;
}
