#pragma once
// Shared helpers of the script suites: a private working directory, files written from strings, a
// tiny TGA, the GL recording fake and a message recorder.

#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "script/particle_script.h"

#include <gtest/gtest.h>

#include <cstdint>
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
        WriteFile(name, content);
        const std::size_t before = script.DebugLog.size();
        LoadScript(script, name);
        return script.DebugLog.substr(before);
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

} // namespace lumidor::test
