#pragma once
// Shared helpers of the script suites: a private working directory, files written from strings, a
// tiny TGA, the GL recording fake and a message recorder.

#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "script/particle_script.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lumidor::test {

inline std::vector<std::string>& RecordedMessages() {
    static std::vector<std::string> messages;
    return messages;
}

inline void RecordMessage(const std::string& text, const std::string& caption, TMessageIcon) {
    RecordedMessages().push_back(caption + ": " + text);
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

/// An uncompressed 32-bit TGA of w x h white pixels whose alpha rises along x.
inline void WriteTga(const std::string& path, int w, int h) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(w & 255);
    bytes[13] = char(w >> 8);
    bytes[14] = char(h & 255);
    bytes[15] = char(h >> 8);
    bytes[16] = 32;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            bytes += std::string{char(255), char(255), char(255), char(x * 255 / w)};
    }
    WriteFile(path, bytes);
}

/// With LUMIDOR_SCRIPT_SEEDS naming a folder (an absolute path: the tests change directory), every
/// script the suites load that is small enough to seed a fuzzer is also written there, named by a
/// hash of its bytes; tests/fuzz/update-script-seeds.sh gathers them into the fuzzers' seeds.
inline void KeepAsFuzzSeed(const std::string& content) {
    const char* folder = std::getenv("LUMIDOR_SCRIPT_SEEDS");
    if (folder == nullptr || *folder == '\0' || content.size() > 4096) return;
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a: the same name on every build
    for (const char c : content)
        hash = (hash ^ std::uint8_t(c)) * 1099511628211ull;
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.psc", static_cast<unsigned long long>(hash));
    WriteFile((std::filesystem::path(folder) / name).string(), content);
}

/// Runs every test in a fresh temporary working directory with the GL fake and recorded messages.
class ScriptFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        RecordedMessages().clear();
        previousHandler = SetMessageHandler(RecordMessage);
        previousDir = std::filesystem::current_path();
        char pattern[] = "/tmp/lumidor-script-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::filesystem::current_path(dir);
        WriteTga("tex.tga", 8, 8);
    }
    void TearDown() override {
        std::filesystem::current_path(previousDir);
        std::filesystem::remove_all(dir);
        SetMessageHandler(previousHandler);
    }

    /// Writes `content` to `name` and loads it into `script`; returns the log text it appended.
    std::string Load(TParticleScript& script, const std::string& content, const std::string& name = "t.psc") {
        const std::size_t before = script.DebugLog.size();
        LoadWithReport(script, content, name);
        return script.DebugLog.substr(before);
    }

    /// Writes `content` to `name` and loads the file into `script`. The same bytes are also loaded
    /// from memory into a copy of `script`: both loads must agree byte for byte (log, report, values,
    /// messages shown), so every script of the suites checks the two entry points against each other.
    TScriptLoadReport LoadWithReport(TParticleScript& script, const std::string& content,
                                     const std::string& name = "t.psc") {
        WriteFile(name, content);
        KeepAsFuzzSeed(content);
        std::vector<std::string>& messages = RecordedMessages();
        const std::size_t messagesBefore = messages.size();
        TParticleScript fromText = script;
        const TScriptLoadReport textReport = LoadScriptFromText(fromText, name, content);
        const std::vector<std::string> textMessages(messages.begin() + std::ptrdiff_t(messagesBefore),
                                                    messages.end());
        messages.resize(messagesBefore);

        const TScriptLoadReport fileReport = LoadScriptWithReport(script, name);
        const std::vector<std::string> fileMessages(messages.begin() + std::ptrdiff_t(messagesBefore),
                                                    messages.end());
        ExpectSameLoad(fromText, textReport, textMessages, script, fileReport, fileMessages);
        return fileReport;
    }

    /// Two loads of the same bytes, from memory and from the file, gave the same result.
    static void ExpectSameLoad(const TParticleScript& fromText, const TScriptLoadReport& textReport,
                               const std::vector<std::string>& textMessages, const TParticleScript& fromFile,
                               const TScriptLoadReport& fileReport,
                               const std::vector<std::string>& fileMessages) {
        SCOPED_TRACE("loaded from memory and from the file");
        EXPECT_TRUE(fromText.DebugLog == fromFile.DebugLog) << "the logs differ";
        EXPECT_EQ(textReport.FileOpened, fileReport.FileOpened);
        EXPECT_EQ(textReport.TextureLoaded, fileReport.TextureLoaded);
        EXPECT_EQ(textReport.ErrorCount, fileReport.ErrorCount);
        EXPECT_EQ(textReport.TilesSet, fileReport.TilesSet);
        EXPECT_EQ(textReport.TextureFiles, fileReport.TextureFiles);
        ASSERT_EQ(textReport.Diagnostics.size(), fileReport.Diagnostics.size());
        for (std::size_t i = 0; i < textReport.Diagnostics.size(); ++i) {
            const TScriptDiagnostic& a = textReport.Diagnostics[i];
            const TScriptDiagnostic& b = fileReport.Diagnostics[i];
            EXPECT_TRUE(a.Line == b.Line && a.Column == b.Column && a.Message == b.Message &&
                        a.Suggestion == b.Suggestion && a.Plain == b.Plain)
                << "diagnostic " << i << ": " << a.Message << " / " << b.Message;
        }
        ASSERT_EQ(textReport.Warnings.size(), fileReport.Warnings.size());
        for (std::size_t i = 0; i < textReport.Warnings.size(); ++i) {
            const TScriptDiagnostic& a = textReport.Warnings[i];
            const TScriptDiagnostic& b = fileReport.Warnings[i];
            EXPECT_TRUE(a.Line == b.Line && a.Column == b.Column && a.Message == b.Message)
                << "warning " << i << ": " << a.Message << " / " << b.Message;
        }
        EXPECT_EQ(textMessages, fileMessages);
        ASSERT_EQ(fromText.Containers.size(), fromFile.Containers.size());
        EXPECT_EQ(fromText.Continuous, fromFile.Continuous);
        EXPECT_EQ(fromText.FadeOut, fromFile.FadeOut);
        EXPECT_EQ(fromText.FadeIn, fromFile.FadeIn);
        for (std::size_t t = 0; t < fromText.Containers.size(); ++t) {
            EXPECT_EQ(fromText.Containers[t].TextureTiles.size(), fromFile.Containers[t].TextureTiles.size());
            EXPECT_EQ(fromText.Containers[t].MagnetPoints.size(), fromFile.Containers[t].MagnetPoints.size());
            EXPECT_EQ(std::memcmp(&fromText.Values[t], &fromFile.Values[t], sizeof(TScriptValues)), 0);
            EXPECT_EQ(std::memcmp(&fromText.Ranges[t], &fromFile.Ranges[t], sizeof(TScriptRanges)), 0);
            EXPECT_EQ(std::memcmp(&fromText.Vectors[t], &fromFile.Vectors[t], sizeof(TScriptVectors)), 0);
            EXPECT_EQ(std::memcmp(&fromText.VectorRanges[t], &fromFile.VectorRanges[t],
                                  sizeof(TScriptVectorRanges)),
                      0);
        }
    }

    /// The problem lines of a script whose line 0 loads "tex.tga" and whose lines 1... are
    /// `content`: the log between the header and the end checks.
    std::string Problems(const std::string& content) {
        TParticleScript script;
        return Problems(script, content);
    }
    std::string Problems(TParticleScript& script, const std::string& content) {
        std::string log = Load(script, "loadtexture('tex.tga');\n" + content);
        const std::string header = "File: \"t.psc\"\r\r";
        log.erase(0, log.find(header) + header.size());
        if (log.starts_with("\r")) return "";
        return log.substr(0, log.find("\r\r") + 1);
    }

    std::filesystem::path dir;
    std::filesystem::path previousDir;
    TMessageHandler previousHandler = nullptr;
};

/// A script with `types` particle types, each with a 2 x 4 atlas and a mass of 1, built as the
/// loader would; everything else is left at its default.
inline TParticleScript MakeScript(int types, bool continuous) {
    TParticleScript script;
    script.Continuous = continuous;
    for (int t = 0; t < types; ++t) {
        script.Containers.emplace_back();
        SetBlendFactor(script.Containers.back(), GL_SRC_ALPHA, GL_ONE);
        SetTextureProperties(script.Containers.back(), 7, 2, 4);
    }
    script.Values.resize(std::size_t(types));
    script.Ranges.resize(std::size_t(types));
    script.Vectors.resize(std::size_t(types));
    script.VectorRanges.resize(std::size_t(types));
    script.Emission.resize(std::size_t(types));
    for (TScriptValues& v : script.Values)
        v.Mass = 1.0f;
    return script;
}

} // namespace lumidor::test
