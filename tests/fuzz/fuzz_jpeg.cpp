// libFuzzer entry point for the JPEG decoder.

#include "tests/fuzz/fuzz_decoder.h"
#include "textures/decoders.h"

using namespace lumidor;
using namespace lumidor::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckDecodeResult(DecodeJpeg({data, size}, "fuzz.jpeg", FuzzMaxPixels));
    return 0;
}
