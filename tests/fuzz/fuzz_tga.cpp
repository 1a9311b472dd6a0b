// libFuzzer entry point for the TGA decoder.

#include "tests/fuzz/fuzz_decoder.h"
#include "textures/decoders.h"

using namespace lumidor;
using namespace lumidor::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckDecodeResult(DecodeTga({data, size}, "fuzz.tga", FuzzMaxPixels));
    return 0;
}
