// libFuzzer entry point for the BMP decoder.

#include "tests/fuzz/fuzz_decoder.h"
#include "textures/decoders.h"

using namespace lumidor;
using namespace lumidor::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckDecodeResult(DecodeBmp({data, size}, FuzzMaxPixels));
    return 0;
}
