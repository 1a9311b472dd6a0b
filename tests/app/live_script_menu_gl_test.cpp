// Played scripts in the demo's UI, driven as a user drives it: a file dropped on the real window,
// the "Recent scripts" submenu of "Effects", and the "Script log" window following a reload.

#include "app/core/demo_hooks.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/script_log_window.h"
#include "app/core/ui_item_rects.h"
#include "app/desktop/frame_loop.h"
#include "demo_window_fixture.h"
#include "png_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace lumidor;
namespace fs = std::filesystem;

namespace {

std::string GreenScript(const std::string& massCommand = "mass(1);") {
    return "continiuous(true);loadtexture('scripts/"
           "lumina.tga');setnewparticletype();textureproperties(2,4);\n"
           "texture(1);particlecount(500);lifelength(1,1);randomsize(0.2,0.3);color(0.1,1,0.1);\n"
           "position([2,-1],[1,-0.5],[1,-0.5]);inertia(1,1,1);\n" +
           massCommand + "\n";
}

class LiveScriptMenuGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        folder = fs::temp_directory_path() / ("lumidor_live_menu_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        PlayedScripts.clear();
        StartDemo();
    }
    void TearDown() override {
        fs::remove_all(folder);
        PlayedScripts.clear();
        ScriptLogVisible = false;
        DemoWindowTest::TearDown();
    }

    lumidor::testing::TPngPicture Picture() {
        const std::string file = (folder / "shot.png").string();
        RunFrames(1, file);
        lumidor::testing::TPngPicture picture;
        EXPECT_TRUE(lumidor::testing::ReadPng(file, picture));
        return picture;
    }
    void Drop(const std::string& file) {
        SDL_Event event{};
        event.type = SDL_DROPFILE;
        event.drop.file = SDL_strdup(file.c_str());
        event.drop.windowID = SDL_GetWindowID(window.Window);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        RunFrames(2);
    }
    TItemRect Shown(const std::string& name) {
        EXPECT_TRUE(ItemShownInLastFrame(name)) << name << " is not on screen";
        return FindItemRect(name).value_or(TItemRect{});
    }
    void Hover(const std::string& name) {
        const TItemRect rect = Shown(name);
        Push(SDL_MOUSEMOTION, rect.CentreX(), rect.CentreY());
        RunFrames(3);
    }
    void ClickItem(const std::string& name) {
        const TItemRect rect = Shown(name);
        Click(rect.CentreX(), rect.CentreY());
    }
    /// Pixels in `rect` of a colour where green, or the warning orange, clearly dominates.
    static int Count(const lumidor::testing::TPngPicture& picture, const TItemRect& rect, bool green) {
        int count = 0;
        for (int y = std::max(0, int(rect.Y0)); y < std::min(picture.Height, int(rect.Y1)); ++y)
            for (int x = std::max(0, int(rect.X0)); x < std::min(picture.Width, int(rect.X1)); ++x) {
                const std::uint8_t* p = picture.At(x, y);
                count += green ? (p[1] > 90 && p[1] > p[0] + 40 && p[1] > p[2] + 40)
                               : (p[0] > 150 && p[1] > 80 && p[0] > p[1] + 30 && p[1] > p[2] + 40);
            }
        return count;
    }

    fs::path folder;
};

} // namespace

TEST_F(LiveScriptMenuGL, DroppedScriptPlaysAndIsListedUnderRecentScripts) {
    const std::string script = (folder / "green.psc").string();
    std::ofstream(script) << GreenScript();
    Drop((folder / "notes.txt").string()); // not a script: refused with a message, nothing played
    EXPECT_TRUE(PlayedScripts.empty());
    Drop(script);
    ASSERT_EQ(PlayedScripts.size(), 1u);
    EXPECT_EQ(CurrentEffect, FirstPlayedSlot);
    EXPECT_EQ(LiveScriptStateText(PlayedScripts[0].Live), "loaded");
    const TItemRect all{0.0f, 0.0f, 800.0f, 600.0f, 0};
    EXPECT_GE(Count(Picture(), all, true), 400) << "the dropped script's green particles";

    // Back to the fire, then Effects > Recent scripts > the file: the script again.
    Click(400, 300, SDL_BUTTON_RIGHT);
    Hover("Effects");
    ClickItem("Fire (300)");
    EXPECT_EQ(CurrentEffect, 0);
    Click(300, 250, SDL_BUTTON_RIGHT);
    Hover("Effects");
    Hover("Recent scripts");
    ClickItem(script);
    EXPECT_EQ(CurrentEffect, FirstPlayedSlot);
    CurrentEffect = 0;
    Drop((folder / "." / "green.psc").string()); // dropping it again selects it, not listed twice
    EXPECT_EQ(PlayedScripts.size(), 1u);
    EXPECT_EQ(CurrentEffect, FirstPlayedSlot);
}

TEST_F(LiveScriptMenuGL, ScriptLogWindowFollowsARefusedReload) {
    const std::string script = (folder / "green.psc").string();
    std::ofstream(script) << GreenScript();
    PlayScriptFile(script);
    Click(400, 300, SDL_BUTTON_RIGHT);
    ClickItem("Script log");
    ASSERT_TRUE(ScriptLogVisible);
    RunFrames(2);
    // The three slot scripts and the played one are listed.
    Shown("Script log: .\\scripts\\ParticleScript1.psc");
    const TItemRect state = Shown("Script log state: " + script);
    EXPECT_GE(Count(Picture(), state, true), 10) << "\"loaded\" in green";

    // A broken save: refused once the watcher has seen it settle (looks every 250 ms of wall clock).
    fs::rename(std::string(script), script + ".old");
    std::ofstream(script) << GreenScript("mass(1)");
    for (int i = 0; i < 40 && PlayedScripts[0].Live.State == TLiveScriptState::Loaded; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        RunFrames(1);
    }
    ASSERT_EQ(PlayedScripts[0].Live.State, TLiveScriptState::Errors);
    EXPECT_EQ(PlayedScripts[0].Script.Vectors.at(0).Color.y, 1.0f) << "the last good version runs";
    RunFrames(2);
    const lumidor::testing::TPngPicture picture = Picture();
    EXPECT_GE(Count(picture, Shown("Script log state: " + script), false), 10)
        << "the state in the warning colour";
    EXPECT_TRUE(LiveScriptStateText(PlayedScripts[0].Live).starts_with("1 errors: running the version of "));
    EXPECT_NE(PlayedScripts[0].Live.Log.find("Missing semicolon"), std::string::npos);

    // The problem at its place in the file (line 4 as an editor counts), in the warning colour.
    EXPECT_EQ(LiveScriptProblems(PlayedScripts[0].Live),
              script + ":4:1: error: Missing semicolon - skipping rest of the line.\n");
    const TItemRect problem = Shown("Script log problem 0: " + script);
    EXPECT_GE(Count(picture, problem, false), 10) << "the problem line in the warning colour";
    EXPECT_FALSE(ItemShownInLastFrame("Script log error 0: " + script)) << "the log is one click away";

    // One click shows the debugger log exactly as the loader wrote it, zero-based line included.
    // As a user does, the pointer rests on a tab before the click (ImGui's tabs want that).
    Hover("Script log debugger log: " + script);
    ClickItem("Script log debugger log: " + script);
    RunFrames(1, (folder / "script_log.png").string());
    EXPECT_FALSE(ItemShownInLastFrame("Script log problem 0: " + script));
    const TItemRect logLine = Shown("Script log error 0: " + script);
    EXPECT_NE(PlayedScripts[0].Live.Log.find("\rError (Line 3): Missing semicolon"), std::string::npos);
    lumidor::testing::TPngPicture logPicture;
    ASSERT_TRUE(lumidor::testing::ReadPng((folder / "script_log.png").string(), logPicture));
    EXPECT_GE(Count(logPicture, logLine, false), 10) << "the log's error line in the warning colour";
    Hover("Script log problems: " + script);
    ClickItem("Script log problems: " + script);
    Shown("Script log problem 0: " + script);
}

TEST_F(LiveScriptMenuGL, ProblemsTabListsWarningsAfterErrors) {
    const std::string script = (folder / "warned.psc").string();
    std::ofstream(script) << GreenScript() << "  airresistance(-1);\n";
    PlayScriptFile(script);
    Click(400, 300, SDL_BUTTON_RIGHT);
    ClickItem("Script log");
    RunFrames(2);
    // The script runs and is "loaded": a warning refuses nothing.
    EXPECT_EQ(LiveScriptStateText(PlayedScripts[0].Live), "loaded");
    ASSERT_EQ(PlayedScripts[0].Live.Warnings.size(), 1u);
    const lumidor::testing::TPngPicture picture = Picture();
    const TItemRect warning = Shown("Script log warning 0: " + script);
    EXPECT_FALSE(ItemShownInLastFrame("Script log problem 0: " + script));
    int yellow = 0;
    for (int y = std::max(0, int(warning.Y0)); y < std::min(picture.Height, int(warning.Y1)); ++y)
        for (int x = std::max(0, int(warning.X0)); x < std::min(picture.Width, int(warning.X1)); ++x) {
            const std::uint8_t* p = picture.At(x, y);
            yellow += p[0] > 150 && p[1] > 150 && p[1] > p[2] + 60;
        }
    EXPECT_GE(yellow, 10) << "the warning line in its own colour";
    EXPECT_EQ(FormatGccWarning(script, PlayedScripts[0].Live.Warnings[0]).substr(0, script.size() + 17),
              script + ":5:3: warning: ai");
}
