// libFuzzer entry point for the script loader alone, on the input's bytes in memory: no GL (textures
// are decoded and checked, not uploaded) and no frames, so an input costs what its load costs. Each
// input loads into a fresh record; the checks are those of fuzz_script_checks.h.
// Run it in the folder of small textures that lumidor_fuzz_seeds writes (run-fuzzers.sh does), where
// the seeds' "loadtexture" files are found at little cost; the decoders have fuzzers of their own.

#include "engine/message.h"
#include "script/particle_script.h"
#include "tests/fuzz/fuzz_script_checks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace lumidor;
using namespace lumidor::fuzzing;

namespace {

void IgnoreMessage(const std::string&, const std::string&, TMessageIcon) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetMessageHandler(IgnoreMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TParticleScript script;
    const TScriptLoadReport report = LoadScriptFromText(script, "fuzz.psc", text);
    CheckFreshLoad(script, report, text, "fuzz.psc");
    return 0;
}
