#pragma once
// The demo's optional command-line flags. Without any the demo behaves as the classic program.

#include "app/core/orbit_camera.h"
#include "script/particle_script.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumidor {

/// Number of effect slots a --effect value may name (0 .. kEffectSlotCount - 1).
inline constexpr int kEffectSlotCount = 19;

/// Longest --soak accepted, seconds (one week).
inline constexpr std::int32_t kMaxSoakSeconds = 7 * 24 * 3600;

/// Exit status of a run that could not be made or did not produce what was asked: no usable display,
/// no data, a file or folder named on the command line that cannot be used, a start-up failure that
/// leaves no OpenGL context, a screenshot, frame or statistics line that could not be written.
inline constexpr int kExitRunFailed = 1;
/// Exit status of a command line that cannot be run: an unknown option, a bad value, options that
/// cannot be combined.
inline constexpr int kExitBadCommandLine = 2;

/// The options after parsing; an absent value means "as the classic program does".
struct TCommandLine {
    std::optional<std::int32_t> Frames;  ///< stop after this many frames (1 or more)
    std::optional<float> FixedFrameTime; ///< seconds used as every frame's time (0 to 3600)
    std::optional<std::uint64_t> Seed;   ///< seed of the random generator instead of the clock
    std::string ScreenshotFile;          ///< PNG written from the last frame; empty for none
    std::optional<std::int32_t> Effect;  ///< starting effect slot, 0 .. kEffectSlotCount - 1
    bool Benchmark = false;              ///< run every slot in turn and print a timing table
    std::string ScriptFile;   ///< script played as the current effect, reloaded on save; empty for none
    std::string StatsFile;    ///< one JSON line of frame statistics per frame; empty for none
    std::string RecordFolder; ///< every frame as FOLDER/frame_000001.png ...; empty for none
    std::optional<std::int32_t> Soak;        ///< seconds to cycle through every slot, then print memory use
    bool GLDebug = false;                    ///< check GL errors every frame; any error ends with status 3
    std::optional<TEmitterPath> EmitterPath; ///< the played scripts' emitter path ("Emitter path" menu)
    std::optional<TOrbitCamera> Camera;      ///< the camera the run starts with (the user may turn it)
};

/// What the program should do with the parsed command line.
enum class TCommandLineAction { Run, ShowHelp, ListEffects, Fail };

/// The outcome of ParseCommandLine; Error holds the one-line reason when Action is Fail.
struct TCommandLineResult {
    TCommandLineAction Action = TCommandLineAction::Run;
    TCommandLine Options;
    std::string Error;
};

/// Parses the arguments after the program name. Values follow their flag as the next argument or
/// after '=' ("--frames 5" or "--frames=5"); a repeated flag takes the last value.
TCommandLineResult ParseCommandLine(const std::vector<std::string>& arguments);

/// The --help text, ending in a newline.
std::string CommandLineUsage();

/// The slot of the "Effects" menu entry named `name`, ignoring case: its whole caption ("Effect 2 (2000)")
/// or the caption without the particle count in brackets ("Effect 2"). Nothing when no entry has it.
std::optional<std::int32_t> FindEffectByName(const std::string& name);

/// The --list-effects text: one line per menu entry in menu order, "slot  9  menu 12  Effect 2 (2000)".
std::string EffectListText();

} // namespace lumidor
