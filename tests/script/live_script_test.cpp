// Reload on save as behaviour: the watcher's rate of looking and its wait for a settled file, and the
// keep-last-good rule when the file is replaced, half written, deleted and restored, made
// unreadable, or when only a texture changes; earlier versions' particles fly on without emitting.

#include "engine/gl_recorder.h"
#include "script/live_script.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using namespace lumidor;
using lumidor::test::ScriptFixture;
using lumidor::test::WriteFile;
using lumidor::test::WriteTga;

namespace {

std::string Version(const std::string& colour) {
    return "continiuous(true);loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);\n"
           "particlecount(5);lifelength(0,1);color(" +
           colour + ");\n";
}

/// 39 lines an editor would show (a comment, a blank line, the texture and a particle type, then
/// indented commands, comments and blank lines), all ending in `end`, then `line40` as line 40.
std::string FortyLines(const std::string& end, const std::string& line40) {
    std::string text = "// forty lines" + end + end;
    text += "continiuous(true);loadtexture('tex.tga');" + end;
    text += "setnewparticletype();textureproperties(1,1);particlecount(5);lifelength(0,1);" + end;
    for (int line = 5; line <= 39; ++line)
        text += (line % 3 == 0 ? "   // a comment" : line % 3 == 1 ? "" : "\tmass(1);") + end;
    return text + line40 + end;
}

/// Replaces `path` the way editors save: a new file renamed over the old one.
void Save(const std::string& path, const std::string& content) {
    WriteFile(path + ".tmp", content);
    std::filesystem::rename(path + ".tmp", path);
}

class LiveScriptTest : public ScriptFixture {
  protected:
    /// Polls twice a watch interval apart from `now` on (the change is seen, then found settled).
    TLiveReload Settle() {
        now += 0.3;
        const TLiveReload first = PollLiveScript(live, running, now);
        if (first != TLiveReload::None) return first;
        now += 0.3;
        return PollLiveScript(live, running, now);
    }
    float RunningRed() const { return running.Vectors.at(0).Color.x; }

    TLiveScript live;
    TParticleScript running;
    double now = 100.0;
};

} // namespace

TEST_F(LiveScriptTest, WatcherLooksAtMostEveryIntervalAndWaitsForASettledFile) {
    WriteFile("w.psc", "a");
    TScriptWatch watch;
    WatchFiles(watch, {"w.psc"}, {StampFile("w.psc")}, 0.0);
    EXPECT_FALSE(PollScriptWatch(watch, 0.3)); // nothing changed
    WriteFile("w.psc", "ab");
    // Polled every frame: no look before 250 ms have passed since the last one.
    for (double t = 0.31; t < 0.55; t += 0.01)
        ASSERT_FALSE(PollScriptWatch(watch, t));
    EXPECT_FALSE(PollScriptWatch(watch, 0.56)); // first sight of the change: maybe still being written
    WriteFile("w.psc", "abc");                  // it was: the next look sees it move again
    EXPECT_FALSE(PollScriptWatch(watch, 0.85));
    EXPECT_TRUE(PollScriptWatch(watch, 1.15)); // unchanged for one look: settled
    EXPECT_TRUE(PollScriptWatch(watch, 1.45)); // until the caller reads it and watches anew
    WatchFiles(watch, {"w.psc"}, {StampFile("w.psc")}, 1.5);
    EXPECT_FALSE(PollScriptWatch(watch, 1.8));
    EXPECT_FALSE(StampFile("none").Exists);
    EXPECT_FALSE(StampFile(".").Exists); // a directory is not a readable script
}

TEST_F(LiveScriptTest, ReplacedFileTakesOverAndOldParticlesFlyOut) {
    WriteFile("s.psc", Version("1,0,0"));
    StartLiveScript(live, running, "s.psc", now);
    EXPECT_EQ(LiveScriptStateText(live), "loaded");
    AdvanceScript(running, TVector3{}, 0.1f);
    ASSERT_EQ(running.Containers.at(0).Particles.size(), 5u);

    Save("s.psc", Version("0,0,1"));
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_EQ(RunningRed(), 0.0f);
    EXPECT_EQ(running.Vectors[0].Color.z, 1.0f);
    EXPECT_EQ(LiveScriptStateText(live), "loaded");
    // The red particles still fly, emitting no more, and go with their lives (1 s).
    ASSERT_EQ(live.Retired.size(), 1u);
    EXPECT_FALSE(live.Retired[0].Script.Continuous);
    GLRecorder().Calls.clear();
    AdvanceRetiredScripts(live, 0.5f);
    ASSERT_EQ(live.Retired.size(), 1u);
    EXPECT_EQ(live.Retired[0].Script.Containers[0].Particles.size(), 5u);
    AdvanceRetiredScripts(live, 0.6f);
    EXPECT_TRUE(live.Retired.empty());
    EXPECT_EQ(CountGLCalls("DeleteTextures"), 1); // its texture and buffer are given back
    EXPECT_EQ(CountGLCalls("DeleteBuffersARB"), 1);
}

TEST_F(LiveScriptTest, HalfWrittenAndBrokenVersionsKeepTheLastGoodOne) {
    WriteFile("s.psc", Version("1,0,0"));
    StartLiveScript(live, running, "s.psc", now);
    const std::string full = Version("0,1,0");
    // Cut in the middle of the colour command: the saved half has an error.
    WriteFile("s.psc", full.substr(0, full.size() - 5));
    EXPECT_EQ(Settle(), TLiveReload::Refused);
    EXPECT_EQ(RunningRed(), 1.0f);
    EXPECT_EQ(live.State, TLiveScriptState::Errors);
    EXPECT_TRUE(std::regex_match(LiveScriptStateText(live),
                                 std::regex("1 errors: running the version of \\d\\d:\\d\\d:\\d\\d")))
        << LiveScriptStateText(live);
    EXPECT_NE(live.Log.find("Wrong parameter count."), std::string::npos);
    EXPECT_EQ(Settle(), TLiveReload::None); // a refused version is not read again and again

    Save("s.psc", "continiuous(true);loadtexture('tex.tga');setnewparticletype();textureproperties(1,1);\n"
                  "color(0,1,0)\n");
    EXPECT_EQ(Settle(), TLiveReload::Refused);
    EXPECT_NE(live.Log.find("Missing semicolon"), std::string::npos);
    EXPECT_EQ(RunningRed(), 1.0f);

    WriteFile("s.psc", full); // the rest of the write arrives
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_EQ(running.Vectors.at(0).Color.y, 1.0f);
    EXPECT_EQ(LiveScriptStateText(live), "loaded");
}

TEST_F(LiveScriptTest, DeletedUnreadableAndRestoredFile) {
    WriteFile("s.psc", Version("1,0,0"));
    StartLiveScript(live, running, "s.psc", now);
    std::filesystem::remove("s.psc");
    EXPECT_EQ(Settle(), TLiveReload::Refused);
    EXPECT_EQ(live.State, TLiveScriptState::NotFound);
    EXPECT_NE(live.Log.find("File not Found"), std::string::npos);
    EXPECT_TRUE(LiveScriptStateText(live).starts_with("1 errors: running the version of "));
    EXPECT_EQ(RunningRed(), 1.0f);

    WriteFile("s.psc", Version("0.5,0,0"));
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_EQ(RunningRed(), 0.5f);

    // A directory in its place opens but cannot be read.
    std::filesystem::remove("s.psc");
    std::filesystem::create_directory("s.psc");
    EXPECT_EQ(Settle(), TLiveReload::Refused);
    EXPECT_EQ(RunningRed(), 0.5f);
    std::filesystem::remove("s.psc");

    WriteFile("s.psc", Version("0.25,0,0"));
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_EQ(RunningRed(), 0.25f);
}

TEST_F(LiveScriptTest, MissingAtStartThenTheFirstVersionRuns) {
    StartLiveScript(live, running, "later.psc", now);
    EXPECT_EQ(LiveScriptStateText(live), "not found");
    EXPECT_TRUE(running.Containers.empty());
    // The first version found runs even with errors, as a first load always does.
    WriteFile("later.psc", "setnewparticletype();color(0.25,0,0);\n");
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_EQ(RunningRed(), 0.25f);
    EXPECT_EQ(live.State, TLiveScriptState::Errors);
    EXPECT_TRUE(LiveScriptStateText(live).starts_with("2 errors: running the version of "));
}

TEST_F(LiveScriptTest, ChangedTextureReloadsTheScript) {
    WriteFile("s.psc", Version("1,0,0"));
    StartLiveScript(live, running, "s.psc", now);
    ASSERT_EQ(live.Watch.Paths, (std::vector<std::string>{"s.psc", "tex.tga"}));
    const GLuint before = running.Texture;
    WriteTga("tex.tga", 16, 16);
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_NE(running.Texture, before);
    // A broken texture is an error of the new version: refused.
    WriteFile("tex.tga", std::string(18, '\0'));
    EXPECT_EQ(Settle(), TLiveReload::Refused);
    // The file, "textureproperties" without a texture, then the end checks: no texture, no tiles.
    EXPECT_EQ(live.ErrorCount, 4);
}

TEST_F(LiveScriptTest, NewVersionKeepsTheDebugView) {
    WriteFile("s.psc", Version("1,0,0"));
    StartLiveScript(live, running, "s.psc", now);
    ToggleScriptDebug(running);
    Save("s.psc", Version("0,0,1"));
    ASSERT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_TRUE(running.Containers.at(0).DebugMode);
}

TEST_F(LiveScriptTest, ReloadProblemsArePlacedAsTheGccFormatPlacesThem) {
    // Line 40 counted as an editor counts it, whatever the line ends; the column of the command
    // after a tab and a first command on the line, a tab counting one column.
    const std::string broken = "\tmass(1);  lifelength(1,2)";
    const std::string expected = "my.psc:40:12: error: Missing semicolon - skipping rest of the line.\n";
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(::testing::PrintToString(end));
        TLiveScript script;
        TParticleScript version;
        WriteFile("my.psc", FortyLines(end, "mass(1);"));
        StartLiveScript(script, version, "my.psc", now);
        ASSERT_EQ(script.State, TLiveScriptState::Loaded) << script.Log;
        EXPECT_EQ(LiveScriptProblems(script), "");

        Save("my.psc", FortyLines(end, broken));
        now += 0.3;
        PollLiveScript(script, version, now);
        now += 0.3;
        ASSERT_EQ(PollLiveScript(script, version, now), TLiveReload::Refused);
        EXPECT_EQ(LiveScriptProblems(script), expected);
        // The same file through the function lumidor-psc --format=gcc prints with.
        TParticleScript checked;
        EXPECT_EQ(FormatGccDiagnostics("my.psc", LoadScriptWithReport(checked, "my.psc")), expected);
        // The debugger log keeps its own zero-based numbering.
        EXPECT_NE(script.Log.find("\rError (Line 39): Missing semicolon - skipping rest of the line.\r"),
                  std::string::npos);
        ReleaseScript(version);
    }
}

TEST_F(LiveScriptTest, ProblemsOfAFirstLoadAndOfAMissingFile) {
    WriteFile("two.psc", "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);\n"
                         "  colour(1,0,0);\nmass(heavy);\n");
    StartLiveScript(live, running, "two.psc", now);
    EXPECT_EQ(LiveScriptProblems(live),
              "two.psc:3:3: error: Unknown Command: \"colour(1,0,0);\" - skipping rest of the line. (did you "
              "mean 'color'?)\n"
              "two.psc:4:1: error: \"heavy\" is not a valid floating point value.\n");
    TLiveScript gone;
    TParticleScript none;
    StartLiveScript(gone, none, "gone.psc", now);
    EXPECT_EQ(LiveScriptProblems(gone), "gone.psc: error: File not Found: \"gone.psc\"\n");
}

TEST_F(LiveScriptTest, WarningsOfTheLatestLoadStandApartFromItsProblems) {
    WriteFile("w.psc", Version("1,0,0") + "size(1,1);\nmass(0);\n");
    StartLiveScript(live, running, "w.psc", now);
    EXPECT_EQ(live.State, TLiveScriptState::Loaded);
    ASSERT_EQ(live.Warnings.size(), 1u);
    EXPECT_EQ(FormatGccWarning(live.File, live.Warnings[0]).substr(0, 28), "w.psc:5:1: warning: mass(0) ");
    // Problems are the errors alone: a version with warnings runs and is never refused for them.
    EXPECT_EQ(LiveScriptProblems(live), "");
    Save("w.psc", Version("0,1,0") + "size(1,1);\n");
    EXPECT_EQ(Settle(), TLiveReload::Replaced);
    EXPECT_TRUE(live.Warnings.empty());
}
