// Scripts written to cost as much as the language lets them (prewarm bombs, burst bombs, sub-emitter
// chains) still play: the demo draws their frames and ends normally, its work held by the prewarm's
// work limit, the particle caps and the sub-emitters' per-frame budget; what the caps drop is logged.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct THostileScript {
    const char* Name;
    const char* Text;
};

const THostileScript kHostileScripts[] = {
    {"prewarm_bomb", "loadtexture('scripts/lumina.tga');\n"
                     "continiuous(true);\n"
                     "setnewparticletype();\n"
                     "textureproperties(2,4);\n"
                     "particlecount(1000000);\n"
                     "lifelength(0,0.001);\n"
                     "prewarm(60);\n"},
    {"burst_bomb", "loadtexture('scripts/lumina.tga');\n"
                   "setnewparticletype();\n"
                   "textureproperties(2,4);\n"
                   "lifelength(0,100);\n"
                   "burst(0,1000000);\n"
                   "burst(0,1000000,0.001,1000000);\n"
                   "burst(0.01,1000000,0.001,1000000);\n"
                   "setnewparticletype();\n"
                   "textureproperties(2,4);\n"
                   "lifelength(0,100);\n"
                   "burst(0,1000000,0.001,1000000);\n"},
    {"sub_emitter_chain", "loadtexture('scripts/lumina.tga');\n"
                          "continiuous(true);\n"
                          "setnewparticletype();\n"
                          "textureproperties(2,4);\n"
                          "particlecount(1000);\n"
                          "lifelength(0,0.01);\n"
                          "velocity([0,0],[-5,-5],[0,0]);\n"
                          "ondeath(1,1000);\n"
                          "onbounce(1,1000);\n"
                          "setnewparticletype();\n"
                          "textureproperties(2,4);\n"
                          "lifelength(0,0.01);\n"
                          "velocity([0,0],[-5,-5],[0,0]);\n"
                          "ondeath(0,1000);\n"
                          "onbounce(0,1000);\n"
                          "onbounce(1,1000);\n"},
};

class HostileScripts : public ::testing::TestWithParam<THostileScript> {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("lumidor_hostile_" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_P(HostileScripts, PlaySixtyFramesAndEndNormally) {
    const fs::path script = folder / (std::string(GetParam().Name) + ".psc");
    std::ofstream(script, std::ios::binary) << GetParam().Text;
    const fs::path errors = folder / "err.txt";
    const std::string command = "cd '" LUMIDOR_SOURCE_DIR "/data' && LUMIDOR_NO_DIALOGS=1 '" +
                                std::string(LUMIDOR_DEMO_EXECUTABLE) + "' --script '" + script.string() +
                                "' --frames 60 --fixed-dt 0.0167 --seed 1 >/dev/null 2>'" + errors.string() +
                                "'";
    const int status = std::system(command.c_str());
    std::ifstream file(errors);
    const std::string stderrText{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << stderrText;
    EXPECT_NE(stderrText.find(script.string() + ": loaded"), std::string::npos) << stderrText;
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileScripts, ::testing::ValuesIn(kHostileScripts),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
