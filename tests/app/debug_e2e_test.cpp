// --stats and --record end to end: the demo run from data/ under Xvfb, its files read back.

#include "png_reader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A strict JSON reader that only checks the grammar (RFC 8259), enough to tell a valid line.
class JsonChecker {
  public:
    explicit JsonChecker(const std::string& text) : s(text) {}
    bool Valid() {
        Space();
        if (!Value()) return false;
        Space();
        return i == s.size();
    }

  private:
    void Space() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r'))
            ++i;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (s.compare(i, w.size(), w) != 0) return false;
        i += w.size();
        return true;
    }
    bool Digits() {
        const std::size_t start = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        return i > start;
    }
    bool Number() {
        if (i < s.size() && s[i] == '-') ++i;
        if (i < s.size() && s[i] == '0') {
            ++i;
        } else if (!Digits()) {
            return false;
        }
        if (i < s.size() && s[i] == '.' && (++i, !Digits())) return false;
        if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            ++i;
            if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
            if (!Digits()) return false;
        }
        return true;
    }
    bool String() {
        if (s[i] != '"') return false;
        for (++i; i < s.size(); ++i) {
            const auto c = static_cast<unsigned char>(s[i]);
            if (c == '"') return ++i, true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (++i >= s.size()) return false;
                if (s[i] == 'u') {
                    for (int k = 0; k < 4; ++k)
                        if (++i >= s.size() || !std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
                } else if (std::string("\"\\/bfnrt").find(s[i]) == std::string::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    template <typename Item> bool Sequence(char close, Item item) {
        ++i;
        Space();
        if (i < s.size() && s[i] == close) return ++i, true;
        for (;;) {
            Space();
            if (!item()) return false;
            Space();
            if (i >= s.size()) return false;
            if (s[i] == close) return ++i, true;
            if (s[i] != ',') return false;
            ++i;
        }
    }
    bool Value() {
        if (i >= s.size()) return false;
        switch (s[i]) {
        case '{':
            return Sequence('}', [this] {
                if (i >= s.size() || !String()) return false;
                Space();
                if (i >= s.size() || s[i] != ':') return false;
                ++i;
                Space();
                return Value();
            });
        case '[':
            return Sequence(']', [this] { return Value(); });
        case '"':
            return String();
        case 't':
            return Literal("true");
        case 'f':
            return Literal("false");
        case 'n':
            return Literal("null");
        default:
            return Number();
        }
    }
    const std::string& s;
    std::size_t i = 0;
};

class DebugRun : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display; run under xvfb-run";
        folder = fs::temp_directory_path() / ("lumidor_debug_e2e_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    int Run(const std::string& arguments) {
        const std::string command = "cd '" LUMIDOR_SOURCE_DIR
                                    "/data' && LUMIDOR_NO_DIALOGS=1 '" LUMIDOR_DEMO_EXECUTABLE "' " +
                                    arguments + " 2>'" + (folder / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path folder;
};

} // namespace

TEST(JsonCheckerSelfTest, TellsValidFromBrokenLines) {
    EXPECT_TRUE(JsonChecker(R"({"a":[1,-2.5e3,{"b":null}],"c":"x\"\u00e9","d":true})").Valid());
    for (const char* broken : {R"({"a":1,})", R"({"a":01})", R"({"a":nan})", R"({"a":"x)", R"({"a":1}})", ""})
        EXPECT_FALSE(JsonChecker(broken).Valid()) << broken;
}

TEST_F(DebugRun, StatsWritesOneJsonLinePerFrameReachingTheStressTestsTenThousand) {
    const fs::path stats = folder / "stress.jsonl";
    ASSERT_EQ(Run("--effect 10 --frames 30 --fixed-dt 0.0333 --stats '" + stats.string() + "'"), 0);
    std::ifstream in(stats);
    std::string line;
    int lines = 0;
    long long most = 0;
    const std::regex particles(R"("particles":(\d+),)");
    const std::regex live(R"("live":(\d+))");
    while (std::getline(in, line)) {
        ++lines;
        ASSERT_TRUE(JsonChecker(line).Valid()) << line;
        EXPECT_NE(line.find("\"frame\":" + std::to_string(lines) + ","), std::string::npos) << line;
        EXPECT_NE(line.find("\"dt\":0.0333,\"slot\":10,"), std::string::npos) << line;
        std::smatch match;
        ASSERT_TRUE(std::regex_search(line, match, particles)) << line;
        const long long total = std::stoll(match[1]);
        long long sum = 0;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), live); it != std::sregex_iterator();
             ++it)
            sum += std::stoll((*it)[1]);
        EXPECT_EQ(total, sum) << line;
        most = std::max(most, total);
        for (const char* key :
             {"\"engine_ms\":", "\"frame_ms\":", "\"systems\":[{\"name\":\"TerrainEffect\""})
            EXPECT_NE(line.find(key), std::string::npos) << line;
    }
    EXPECT_EQ(lines, 30);
    EXPECT_EQ(most, 10000);
}

TEST_F(DebugRun, RecordWritesEveryFrameAtTheWindowsSize) {
    const fs::path clip = folder / "clip";
    const fs::path last = folder / "last.png";
    ASSERT_EQ(Run("--effect 9 --frames 5 --fixed-dt 0.0333 --record '" + clip.string() + "' --screenshot '" +
                  last.string() + "'"),
              0);
    lumidor::testing::TPngPicture window;
    ASSERT_TRUE(lumidor::testing::ReadPng(last.string(), window));
    int frames = 0;
    for (const auto& entry : fs::directory_iterator(clip)) {
        (void)entry;
        ++frames;
    }
    EXPECT_EQ(frames, 5);
    for (int frame = 1; frame <= 5; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06d.png", frame);
        lumidor::testing::TPngPicture picture;
        ASSERT_TRUE(lumidor::testing::ReadPng((clip / name).string(), picture)) << name;
        EXPECT_EQ(picture.Width, window.Width);
        EXPECT_EQ(picture.Height, window.Height);
        if (frame == 5) {
            EXPECT_EQ(picture.Rgb, window.Rgb); // the last frame is the screenshot's picture
        }
    }

    // A folder that cannot be made is reported and nothing runs.
    std::ofstream(folder / "file") << "x";
    EXPECT_EQ(Run("--frames 2 --record '" + (folder / "file").string() + "'"), 1);
}
