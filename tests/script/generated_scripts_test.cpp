// A self-check on generated scripts: a few thousand random, plausible and partly broken scripts
// (fixed seed) go through the loader and a few frames of the runtime. Run under the sanitizers this
// catches crashes, overflows and leaks; the checks below catch a log that disagrees with itself
// and a loader whose result depends on the line terminators.

#include "engine/random.h"
#include "script/particle_script.h"
#include "script/script_scanner.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

using namespace lumidor;

namespace {

class TScriptGenerator {
  public:
    explicit TScriptGenerator(std::uint32_t seed) : engine(seed) {}

    /// Lines of one script (no terminators).
    std::vector<std::string> Script() {
        std::vector<std::string> lines;
        const int count = Pick(0, 30);
        for (int i = 0; i < count; ++i)
            lines.push_back(Line());
        return lines;
    }

  private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); }
    bool Chance(int percent) { return Pick(0, 99) < percent; }
    template <class T> const T& OneOf(const std::vector<T>& items) {
        return items[std::size_t(Pick(0, int(items.size()) - 1))];
    }

    std::string Number() {
        static const std::vector<std::string> special = {
            "0",          "1",           "-1",         "0.5",    ".5",    "5.",        "1e3",
            "1E-3",       "-2.5e+2",     "1e39",       "-1e400", "1e-50", "3.4e38",    "99999999999",
            "2147483648", "-2147483649", "$1F",        "0x10",   "X7f",   "$",         "0x",
            "inf",        "nan",         "-inf",       "1,5",    "1.2.3", "",          "abc",
            "1.5x",       "true",        "FALSE",      "770",    "771",   "-0",        "1e",
            "+",          "00012",       "4294967295", "1e9",    "-1e9",  "0.0000001", "16777217"};
        if (Chance(40)) return OneOf(special);
        std::string text = Chance(20) ? "-" : "";
        text += std::to_string(Pick(0, 3000));
        if (Chance(60)) text += "." + std::to_string(Pick(0, 999));
        return text;
    }

    std::string Name() {
        static const std::vector<std::string> names = {"mass",
                                                       "particlecount",
                                                       "airresistance",
                                                       "beginfadeout",
                                                       "endfadein",
                                                       "texture",
                                                       "lifelength",
                                                       "randomsize",
                                                       "size",
                                                       "enlargement",
                                                       "force",
                                                       "color",
                                                       "inertia",
                                                       "velocity",
                                                       "position",
                                                       "setnewparticletype",
                                                       "setnewparticletype",
                                                       "setnewmagnetpoint",
                                                       "mode",
                                                       "gravity",
                                                       "radius",
                                                       "loadtexture",
                                                       "textureproperties",
                                                       "blendfactor",
                                                       "mposition",
                                                       "continiuous",
                                                       "fading",
                                                       "continuous",
                                                       "foo",
                                                       ""};
        std::string name = OneOf(names);
        if (Chance(15)) {
            for (char& c : name)
                if (Chance(50) && c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        }
        return name;
    }

    std::string Arguments(const std::string& name) {
        const std::string lower = FoldToLower(name);
        if (lower == "loadtexture") {
            static const std::vector<std::string> files = {
                "'tex.tga'", "'tex.tga'", "'missing.bmp'", "'x.jpg'",      "tex.tga",
                "'a;b.tga'", "'a)b.tga'", "'tex.tga",      "'sp ace.tga'", "''"};
            return OneOf(files);
        }
        if (lower == "velocity" || lower == "position") {
            std::string text;
            const int pairs = Chance(85) ? 3 : Pick(0, 4);
            for (int p = 0; p < pairs; ++p)
                text += (p ? "," : "") + ("[" + Number() + "," + Number() + "]");
            return text;
        }
        int values = 1;
        if (lower == "lifelength" || lower == "randomsize" || lower == "size" || lower == "enlargement" ||
            lower == "textureproperties" || lower == "blendfactor" || lower == "fading")
            values = 2;
        if (lower == "force" || lower == "color" || lower == "inertia" || lower == "mposition") values = 3;
        if (lower == "setnewparticletype" || lower == "setnewmagnetpoint") values = Chance(80) ? 0 : 1;
        if (lower == "textureproperties" && Chance(70))
            return std::to_string(Pick(-1, 5)) + "," + std::to_string(Pick(-1, 5));
        if (Chance(10)) values += Pick(-1, 1);
        std::string text;
        for (int v = 0; v < values; ++v)
            text += (v ? "," : "") + Number();
        return text;
    }

    std::string Command() {
        const std::string name = Name();
        std::string text = name;
        const int shape = Pick(0, 99);
        if (shape < 80) {
            text += "(" + Arguments(name) + ");";
        } else if (shape < 85) {
            text += "(" + Arguments(name) + ")";
        } else if (shape < 90) {
            text += "(" + Arguments(name) + ";";
        } else if (shape < 95) {
            text += ";";
        } else {
            text += " " + Arguments(name) + " ;";
        }
        return text;
    }

    std::string Line() {
        const int kind = Pick(0, 99);
        if (kind < 8) return "";
        if (kind < 14) return "// a comment ('with quotes') and (brackets)";
        std::string line;
        const int commands = Pick(1, 4);
        for (int c = 0; c < commands; ++c)
            line += Command();
        if (Chance(10)) line += "//trailing";
        // Sprinkle whitespace and, rarely, arbitrary bytes.
        for (int i = 0; i < 3; ++i) {
            if (Chance(30) && !line.empty())
                line.insert(std::size_t(Pick(0, int(line.size()))), Chance(50) ? " " : "\t");
        }
        if (Chance(5) && !line.empty()) line[std::size_t(Pick(0, int(line.size()) - 1))] = char(Pick(1, 255));
        if (Chance(1)) line.insert(line.begin(), '\0');
        return line;
    }

    std::mt19937 engine;
};

std::string Join(const std::vector<std::string>& lines, const std::string& terminator) {
    std::string text;
    for (const std::string& line : lines)
        text += line + terminator;
    return text;
}

/// Number of log lines that count as errors: problem lines and critical warnings.
int CountedLines(const std::string& log) {
    int count = 0;
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = std::min(log.find('\r', start), log.size());
        const std::string_view line(log.data() + start, end - start);
        if (line.starts_with("Error (Line ") || line.starts_with("Critical Error: ")) ++count;
        start = end + 1;
    }
    return count;
}

using GeneratedScripts = test::ScriptFixture;

} // namespace

TEST_F(GeneratedScripts, LoaderStaysConsistentAndRuntimeStaysSafe) {
    test::WriteTga("sp ace.tga", 2, 2);
    GLRecorder().Recording = false;
    TScriptGenerator generator(20240607);
    SeedRandom(7);
    for (int n = 0; n < 2000; ++n) {
        const std::vector<std::string> lines = generator.Script();
        test::WriteFile("lf.psc", Join(lines, "\n"));
        if (n < 64) test::KeepAsFuzzSeed(Join(lines, "\n"));
        test::WriteFile("crlf.psc", Join(lines, "\r\n"));

        TParticleScript script;
        const TScriptLoadReport report = LoadScriptWithReport(script, "g.psc", "lf.psc");
        TParticleScript same;
        const TScriptLoadReport sameReport = LoadScriptWithReport(same, "g.psc", "crlf.psc");

        SCOPED_TRACE("script " + std::to_string(n) + ":\n" + Join(lines, "\n"));
        // The terminators change nothing (a NUL cuts both texts at the same line).
        ASSERT_EQ(script.DebugLog, same.DebugLog);
        ASSERT_EQ(report.ErrorCount, sameReport.ErrorCount);

        // The log agrees with itself: header, one counted line per error, summary with the count.
        const std::string& log = script.DebugLog;
        ASSERT_TRUE(log.starts_with("Lumidor ScriptDebugger log\r"));
        ASSERT_EQ(log.find('\n'), std::string::npos);
        ASSERT_EQ(CountedLines(log), report.ErrorCount);
        if (report.ErrorCount > 0) {
            ASSERT_TRUE(log.ends_with("\r\r" + std::to_string(report.ErrorCount) + " error(s) detected."));
        } else {
            ASSERT_TRUE(log.ends_with("\"\r\r\r"));
        }

        // The record's arrays grow together, and every atlas stays within its limit.
        const std::size_t types = script.Containers.size();
        ASSERT_EQ(script.Values.size(), types);
        ASSERT_EQ(script.Ranges.size(), types);
        ASSERT_EQ(script.Vectors.size(), types);
        ASSERT_EQ(script.VectorRanges.size(), types);
        ASSERT_EQ(report.TilesSet.size(), types);
        for (const TParticleEffectContainer& c : script.Containers)
            ASSERT_LE(c.TextureTiles.size(), std::size_t(MaxScriptTextureTiles));

        // A few frames of the runtime, with the counts kept small so the run stays quick; the
        // settings are otherwise used as loaded (NaN, infinities, mass 0, odd tiles included).
        for (TScriptValues& values : script.Values)
            values.NumParticles = std::min(values.NumParticles, 20.0f);
        for (int frame = 0; frame < 3; ++frame)
            AdvanceScript(script, {0.5f, 0, 0}, 0.02f);
        EmitParticles(script, {});
        for (const TParticleEffectContainer& c : script.Containers) {
            for (const TParticle& p : c.Particles) {
                ASSERT_GE(p.Tile, 0);
                ASSERT_TRUE(c.TextureTiles.empty() ? p.Tile == 0
                                                   : std::size_t(p.Tile) < c.TextureTiles.size());
            }
        }
        ToggleScriptDebug(script);
        AdvanceScript(script, {}, 0.02f);
    }
}
