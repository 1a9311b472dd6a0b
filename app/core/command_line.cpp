#include "app/core/command_line.h"

#include "effects/effect_slots.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

namespace lumidor {

namespace {

// Whole decimal digits only, no sign, no spaces; false on overflow of `max`.
bool ParseUnsigned(const std::string& text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty()) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (max - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

bool ParseSeconds(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(parsed)) return false;
    if (parsed < 0.0 || parsed > 3600.0) return false;
    value = static_cast<float>(parsed);
    return true;
}

std::string Lowercase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return text;
}

bool HasPngExtension(const std::string& file) {
    return file.size() >= 5 && Lowercase(file.substr(file.size() - 4)) == ".png";
}

// "Effect 2" of "Effect 2 (2000)": the caption without the particle count in brackets.
std::string WithoutCount(const std::string& caption) {
    const std::size_t open = caption.rfind(" (");
    if (open == std::string::npos || caption.back() != ')') return caption;
    return caption.substr(0, open);
}

TCommandLineResult Failure(std::string reason) {
    TCommandLineResult result;
    result.Action = TCommandLineAction::Fail;
    result.Error = std::move(reason);
    return result;
}

std::string BadValue(const std::string& flag, const std::string& expected, const std::string& got) {
    return flag + " expects " + expected + ", got \"" + got + "\"";
}

} // namespace

TCommandLineResult ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLineResult result;
    TCommandLine& options = result.Options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string flag = arguments[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = flag.find('=');
            flag.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = flag.substr(equals + 1);
            flag.erase(equals);
        }
        const bool takesValue = flag == "--frames" || flag == "--fixed-dt" || flag == "--seed" ||
                                flag == "--screenshot" || flag == "--effect" || flag == "--script" ||
                                flag == "--stats" || flag == "--record" || flag == "--soak" ||
                                flag == "--emitter-path" || flag == "--camera";
        if (!takesValue && inlineValue) return Failure(flag + " takes no value");
        if (flag == "--help" || flag == "-h") {
            result.Action = TCommandLineAction::ShowHelp;
            return result;
        }
        if (flag == "--list-effects") {
            result.Action = TCommandLineAction::ListEffects;
            return result;
        }
        if (flag == "--benchmark") {
            options.Benchmark = true;
            continue;
        }
        if (flag == "--gl-debug") {
            options.GLDebug = true;
            continue;
        }
        if (!takesValue) return Failure("unknown option \"" + arguments[i] + "\"");

        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return Failure(flag + " needs a value");
        }

        std::uint64_t number = 0;
        if (flag == "--frames") {
            if (!ParseUnsigned(value, std::numeric_limits<std::int32_t>::max(), number) || number == 0)
                return Failure(BadValue(flag, "a whole number of frames from 1 to 2147483647", value));
            options.Frames = static_cast<std::int32_t>(number);
        } else if (flag == "--fixed-dt") {
            float seconds = 0.0f;
            if (!ParseSeconds(value, seconds))
                return Failure(BadValue(flag, "a frame time in seconds from 0 to 3600", value));
            options.FixedFrameTime = seconds;
        } else if (flag == "--seed") {
            if (!ParseUnsigned(value, std::numeric_limits<std::uint64_t>::max(), number))
                return Failure(BadValue(flag, "a whole number from 0 to 18446744073709551615", value));
            options.Seed = number;
        } else if (flag == "--screenshot") {
            if (!HasPngExtension(value)) return Failure(BadValue(flag, "a file name ending in .png", value));
            options.ScreenshotFile = value;
        } else if (flag == "--script") {
            if (value.empty()) return Failure(BadValue(flag, "a script file name", value));
            options.ScriptFile = value;
        } else if (flag == "--effect") {
            if (ParseUnsigned(value, kEffectSlotCount - 1, number)) {
                options.Effect = static_cast<std::int32_t>(number);
            } else if (const std::optional<std::int32_t> named = FindEffectByName(value)) {
                options.Effect = named;
            } else {
                return Failure(BadValue(flag,
                                        "an effect slot from 0 to " + std::to_string(kEffectSlotCount - 1) +
                                            " or an effect's name from --list-effects",
                                        value));
            }
        } else if (flag == "--stats") {
            if (value.empty()) return Failure(BadValue(flag, "a file name", value));
            options.StatsFile = value;
        } else if (flag == "--record") {
            if (value.empty()) return Failure(BadValue(flag, "a folder name", value));
            options.RecordFolder = value;
        } else if (flag == "--emitter-path") {
            options.EmitterPath = ParseEmitterPath(value);
            if (!options.EmitterPath) return Failure(BadValue(flag, "still, circle or eight", value));
        } else if (flag == "--camera") {
            std::string reason;
            options.Camera = ParseCameraOption(value, reason);
            if (!options.Camera)
                return Failure(BadValue(flag,
                                        "YAW,PITCH,DISTANCE: degrees about the vertical, degrees from -89 "
                                        "to 89 (positive looks from above), units from 0.5 to 50",
                                        value) +
                               ": " + reason);
        } else if (flag == "--soak") {
            if (!ParseUnsigned(value, kMaxSoakSeconds, number) || number == 0)
                return Failure(BadValue(
                    flag, "a whole number of seconds from 1 to " + std::to_string(kMaxSoakSeconds), value));
            options.Soak = static_cast<std::int32_t>(number);
        }
    }
    // Combinations in which an option would be ignored or could never take effect.
    if (options.Soak && (options.Benchmark || options.Frames))
        return Failure("--soak runs on its own; it cannot be combined with --benchmark or --frames");
    if (options.Soak || options.Benchmark) {
        const char* mode = options.Soak ? "--soak" : "--benchmark";
        const std::pair<bool, const char*> unused[] = {{options.Effect.has_value(), "--effect"},
                                                       {!options.ScriptFile.empty(), "--script"},
                                                       {!options.ScreenshotFile.empty(), "--screenshot"},
                                                       {!options.RecordFolder.empty(), "--record"}};
        for (const auto& [given, flag] : unused)
            if (given)
                return Failure(std::string(flag) + " cannot be combined with " + mode +
                               ", which runs every effect in turn");
    }
    if (options.Effect && !options.ScriptFile.empty())
        return Failure("--effect and --script both choose the effect shown; give one of them");
    if (!options.ScreenshotFile.empty() && !options.Frames)
        return Failure("--screenshot needs --frames, so that the last frame is known");
    return result;
}

std::string CommandLineUsage() {
    return "Usage: lumidor-demo [options]\n"
           "Shows the Lumidor particle engine. Run it with data/ as the working directory; window size,\n"
           "colour depth and full-screen mode come from config.ini beside the program.\n"
           "\n"
           "Options:\n"
           "  --frames N             stop after N frames (1 or more); messages go to standard error\n"
           "  --fixed-dt SECONDS     use this frame time instead of the measured one (0 to 3600)\n"
           "  --seed N               seed the random generator with N instead of the clock\n"
           "  --screenshot FILE.png  write the last frame to FILE.png (needs --frames)\n"
           "  --effect N|NAME        start with effect slot N (0 to 18) or the effect of that menu name\n"
           "                         (\"Effect 2\" or \"effect 2 (2000)\": any case, count optional)\n"
           "  --list-effects         list slot, menu position and name of every effect, in menu order\n"
           "  --benchmark            run every effect slot in turn and print a timing table\n"
           "  --script FILE.psc      play FILE (relative to the working directory) as the current effect;\n"
           "                         its textures are read below the data folder the demo runs in. It is\n"
           "                         reloaded when it or its textures change; a version with errors is\n"
           "                         refused (its problems go to standard error as FILE:LINE:COLUMN)\n"
           "                         and the last good one runs\n"
           "  --emitter-path NAME    move the played scripts' origin: still (the default), circle or\n"
           "                         eight (a figure of eight), as the \"Emitter path\" menu does\n"
           "  --camera YAW,PITCH,DISTANCE\n"
           "                         look from YAW degrees about the vertical, PITCH degrees from -89\n"
           "                         to 89 above (positive) or below, DISTANCE units (0.5 to 50) from\n"
           "                         the effect's centre; the default 0,0,5 is the classic view\n"
           "  --stats FILE.jsonl     write one line of JSON per frame: particles per system and times\n"
           "  --record FOLDER        write every frame as FOLDER/frame_000001.png and so on\n"
           "  --soak SECONDS         cycle through every effect slot (about 2 s each, scripts reloaded\n"
           "                         every cycle) for SECONDS, then print the memory use\n"
           "  --gl-debug             check for OpenGL errors after every frame and print each one;\n"
           "                         the exit status is 3 if any occurred\n"
           "  --help                 show this text and exit\n"
           "\n"
           "Without options the demo runs until its window is closed (right-click for the menu; drag\n"
           "with the middle button, or the left one with Alt, to turn the view, the wheel zooms, Home\n"
           "resets it).\n"
           "LUMIDOR_NO_DIALOGS=1 sends message boxes to standard error instead of dialogs. It needs a\n"
           "display (DISPLAY or WAYLAND_DISPLAY); SDL_VIDEODRIVER chooses SDL's video driver yourself\n"
           "(offscreen draws without a display).\n"
           "\n"
           "Exit status:\n"
           "  0  the run ended as asked (window closed, --frames drawn, --help, --list-effects)\n"
           "  1  the run could not be made or did not produce what was asked: no usable display, no\n"
           "     data, a script, screenshot, --record folder or --stats file that cannot be used\n"
           "     (checked before the first frame), no OpenGL context, a picture or statistics line\n"
           "     that could not be written, leaks found by a sanitizer build's --soak\n"
           "  2  the command line cannot be run: an unknown option, a bad value, options that cannot\n"
           "     be combined\n"
           "  3  --gl-debug saw an OpenGL error\n";
}

std::optional<std::int32_t> FindEffectByName(const std::string& name) {
    const std::string wanted = Lowercase(name);
    for (const TEffectSlot& entry : EffectMenu) {
        const std::string caption = Lowercase(entry.Caption);
        if (wanted == caption || wanted == WithoutCount(caption)) return entry.Slot;
    }
    return std::nullopt;
}

std::string EffectListText() {
    std::string text;
    for (std::size_t position = 0; position < EffectMenu.size(); ++position) {
        char line[96];
        std::snprintf(line, sizeof line, "slot %2d  menu %2d  %s\n", EffectMenu[position].Slot,
                      static_cast<int>(position + 1), EffectMenu[position].Caption);
        text += line;
    }
    return text;
}

} // namespace lumidor
