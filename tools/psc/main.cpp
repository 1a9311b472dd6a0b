// lumidor-psc: checks a particle script without a display. Loads it as the demo would (textures are
// decoded by the real readers into the GL recording fake, never uploaded) and prints the debugger
// log, with --dump a JSON description of what the script compiled to, or with --format=gcc one
// "FILE:LINE:COLUMN: error: MESSAGE" line per problem and one "...: warning: MESSAGE" line per
// setting that will surprise when the script runs, for editors and CI. Texture names are read
// below --root (the demo reads them below its data folder), without changing the working directory.
// With --simulate it runs the script instead and prints one line of what its particles are, the
// line every host that runs scripts prints alike (script/script_hash.h). With --atlas it draws a
// texture's atlas tiles with their numbers into a PNG picture instead (tools/psc/atlas_command.h).
//
// The texture readers' message boxes are never echoed where the load's own problem says the same: a
// gcc line (--format=gcc, and --simulate's standard error) carries the reader's reason, and a file
// that is missing is the log's "File not found" line. With the log or --dump, the other boxes (why a
// file that is there could not be read) go to standard error once the load is done.
//
// Exit status: 0 no error in the log (warnings allowed unless --werror), 1 errors reported, 2 file
// not readable or bad arguments.
// With --simulate: 0 the line is printed, 1 file not readable, 2 bad arguments.

#include "engine/message.h"
#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script/script_hash.h"
#include "tools/psc/atlas_command.h"
#include "tools/psc/psc_simulate.h"
#include "tools/psc/script_dump.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

/// One message box a texture reader showed during the load.
struct TReaderMessage {
    std::string Text;
    std::string Caption;
};

/// The load's reader messages, in the order shown.
std::vector<TReaderMessage> readerMessages;

void KeepReaderMessage(const std::string& text, const std::string& caption, lumidor::TMessageIcon) {
    readerMessages.push_back({text, caption});
}

/// A message that says no more than that the file is missing or cannot be opened (the TGA and BMP
/// readers' first test), which the log's own problem line already says.
bool SaysOnlyFileMissing(const TReaderMessage& message) {
    return (message.Caption == "TGA Texture" && message.Text.starts_with("File not found  - ")) ||
           (message.Caption == "BMP Unit" && message.Text.starts_with("Error opening "));
}

constexpr const char* Usage =
    "usage: lumidor-psc [--raw] [--dump] [--format=log|gcc] [--werror] [--name NAME] [--root DIR] FILE\n"
    "       lumidor-psc --simulate SECONDS [--seed S] [--step-by-step] [--name NAME] [--root DIR] FILE\n"
    "       lumidor-psc --atlas FILE ROWS COLUMNS OUT.png\n"
    "  Loads the particle script FILE and prints its debugger log, each CR shown as a line break.\n"
    "  --raw        print the exact log bytes (lines end with a single CR)\n"
    "  --dump       print a JSON object of what the script compiled to instead of the log\n"
    "  --format=gcc one line per error, FILE:LINE:COLUMN: error: MESSAGE (LINE from 1; errors of no\n"
    "               line as FILE: error: MESSAGE), and one per warning, FILE:LINE:COLUMN: warning:\n"
    "               MESSAGE (a setting that loads but will surprise when the script runs), in line\n"
    "               order; --format=log (the default) prints the log, which has no warnings\n"
    "  --werror     warnings count as errors for the exit status (without --format=gcc they are\n"
    "               printed to standard error as gcc lines)\n"
    "  --name NAME  the file name shown on the log's \"File:\" line and in gcc lines (default: FILE)\n"
    "  --root DIR   the folder \"loadtexture\" names are relative to, as the demo's data folder is\n"
    "               (default: the current directory); e.g. --root data data/scripts/ParticleScript1.psc\n"
    "  --simulate SECONDS\n"
    "               run the script from its start (after its prewarm) for the whole number of 1/60 s\n"
    "               steps nearest to SECONDS, a decimal number from 0 to 3600, at the origin, and print\n"
    "               one line: t=SECONDS steps=N particles=P hash=H (t the time of the N steps, P the\n"
    "               live particles of every type, H 16 hex digits of their hash; see the README). The\n"
    "               script's problems go to standard error as gcc lines; --format is not used, and\n"
    "               --raw and --dump cannot be combined with it\n"
    "  --seed S     with --simulate: the random generator's seed, decimal 0 .. 18446744073709551615\n"
    "               (default 0)\n"
    "  --step-by-step\n"
    "               with --simulate: run the steps as frames one at a time instead of as one seek\n"
    "               (the same line)\n"
    "  --atlas FILE ROWS COLUMNS OUT.png\n"
    "               (first) write a picture of the texture FILE (.tga, .bmp, .jpg) cut into ROWS x\n"
    "               COLUMNS tiles, each numbered as textureproperties(ROWS,COLUMNS) numbers it, to OUT.png\n"
    "exit status: 0 no errors (warnings alone too), 1 errors reported (or warnings with --werror),\n"
    "  2 file cannot be opened or bad arguments;\n"
    "  with --simulate: 0 the line is printed, 1 the file cannot be read, 2 bad arguments;\n"
    "  with --atlas: 0 the picture is written, 2 a bad operand, no texture or OUT cannot be written\n";

struct TOptions {
    bool Raw = false;
    bool Dump = false;
    bool Gcc = false;
    bool Werror = false;
    std::string Name;
    bool HasName = false;
    std::string Root;
    std::string File;
    bool Simulate = false;
    std::int64_t Steps = 0; ///< fixed steps --simulate runs
    bool HasSeed = false;
    std::uint64_t Seed = 0;
    bool StepByStep = false;
};

/// The value of an option given as "--option VALUE" or "--option=VALUE" at argv[i]; false (after a
/// message) when it is missing.
bool OptionValue(int argc, char** argv, int& i, const std::string& option, std::string& value) {
    const std::string argument = argv[i];
    if (argument.size() > option.size()) {
        value = argument.substr(option.size() + 1);
        return true;
    }
    if (i + 1 >= argc) {
        std::cerr << "lumidor-psc: " << option << " needs a value\n" << Usage;
        return false;
    }
    value = argv[++i];
    return true;
}

bool IsOption(const std::string& argument, const std::string& option) {
    return argument == option || argument.starts_with(option + "=");
}

/// Returns 0 when the options are complete, 2 on a usage error, -1 after --help.
int ParseArguments(int argc, char** argv, TOptions& options) {
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!filesOnly && argument == "--help") {
            std::cout << Usage;
            return -1;
        }
        if (!filesOnly && argument == "--raw") {
            options.Raw = true;
        } else if (!filesOnly && argument == "--dump") {
            options.Dump = true;
        } else if (!filesOnly && argument == "--werror") {
            options.Werror = true;
        } else if (!filesOnly && (argument == "--format" || argument.starts_with("--format="))) {
            std::string format;
            if (argument == "--format") {
                if (i + 1 >= argc) {
                    std::cerr << "lumidor-psc: --format needs a value\n" << Usage;
                    return 2;
                }
                format = argv[++i];
            } else {
                format = argument.substr(9);
            }
            if (format != "gcc" && format != "log") {
                std::cerr << "lumidor-psc: unknown format \"" << format << "\" (gcc or log)\n" << Usage;
                return 2;
            }
            options.Gcc = format == "gcc";
        } else if (!filesOnly && argument == "--name") {
            if (i + 1 >= argc) {
                std::cerr << "lumidor-psc: --name needs a value\n" << Usage;
                return 2;
            }
            options.Name = argv[++i];
            options.HasName = true;
        } else if (!filesOnly && (argument == "--root" || argument.starts_with("--root="))) {
            if (argument == "--root" && i + 1 >= argc) {
                std::cerr << "lumidor-psc: --root needs a folder\n" << Usage;
                return 2;
            }
            options.Root = argument == "--root" ? argv[++i] : argument.substr(7);
            std::error_code error;
            if (!std::filesystem::is_directory(options.Root, error)) {
                std::cerr << "lumidor-psc: --root: \"" << options.Root << "\" is not a folder\n";
                return 2;
            }
        } else if (!filesOnly && IsOption(argument, "--simulate")) {
            std::string text;
            if (!OptionValue(argc, argv, i, "--simulate", text)) return 2;
            double seconds = 0.0;
            if (!lumidor::ParseSimulateSeconds(text, seconds)) {
                std::cerr << "lumidor-psc: --simulate: \"" << text
                          << "\" is not a number of seconds from 0 to 3600\n"
                          << Usage;
                return 2;
            }
            options.Simulate = true;
            options.Steps = lumidor::StepsForSeconds(seconds);
        } else if (!filesOnly && IsOption(argument, "--seed")) {
            std::string text;
            if (!OptionValue(argc, argv, i, "--seed", text)) return 2;
            if (!lumidor::ParseSimulateSeed(text, options.Seed)) {
                std::cerr << "lumidor-psc: --seed: \"" << text
                          << "\" is not a whole number from 0 to 18446744073709551615\n"
                          << Usage;
                return 2;
            }
            options.HasSeed = true;
        } else if (!filesOnly && argument == "--step-by-step") {
            options.StepByStep = true;
        } else if (!filesOnly && argument == "--") {
            filesOnly = true;
        } else if (!filesOnly && argument.size() > 1 && argument[0] == '-') {
            std::cerr << "lumidor-psc: unknown option " << argument << "\n" << Usage;
            return 2;
        } else if (options.File.empty()) {
            options.File = argument;
        } else {
            std::cerr << "lumidor-psc: only one FILE can be checked\n" << Usage;
            return 2;
        }
    }
    if (options.File.empty()) {
        std::cerr << "lumidor-psc: no FILE given\n" << Usage;
        return 2;
    }
    if (options.Dump && options.Gcc) {
        std::cerr << "lumidor-psc: --dump and --format=gcc cannot be combined\n" << Usage;
        return 2;
    }
    if (!options.Simulate && (options.HasSeed || options.StepByStep)) {
        std::cerr << "lumidor-psc: " << (options.HasSeed ? "--seed" : "--step-by-step")
                  << " needs --simulate\n"
                  << Usage;
        return 2;
    }
    if (options.Simulate && (options.Dump || options.Raw)) {
        std::cerr << "lumidor-psc: --simulate and " << (options.Dump ? "--dump" : "--raw")
                  << " cannot be combined\n"
                  << Usage;
        return 2;
    }
    return 0;
}

bool AnyTextureMissing(const lumidor::TScriptLoadReport& report) {
    for (std::string path : report.TextureFiles) {
        std::replace(path.begin(), path.end(), '\\', '/');
        std::error_code error;
        if (!std::filesystem::exists(path, error)) return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--atlas")
        return lumidor::RunAtlasCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                        std::cerr);
    TOptions options;
    if (const int status = ParseArguments(argc, argv, options); status != 0) return status < 0 ? 0 : status;

    // No GL is ever set up: "loadtexture" decodes and checks the file, and nothing is uploaded.
    lumidor::TParticleScript script;
    const std::string shownName = options.HasName ? options.Name : options.File;
    const lumidor::TMessageHandler previousHandler = lumidor::SetMessageHandler(&KeepReaderMessage);
    const lumidor::TScriptLoadReport report =
        lumidor::LoadScriptWithReport(script, shownName, options.File, options.Root);
    lumidor::SetMessageHandler(previousHandler);
    const bool gccLines = options.Gcc || options.Simulate;
    for (const TReaderMessage& message : readerMessages) {
        if (!gccLines && !SaysOnlyFileMissing(message))
            lumidor::PrintMessageToStderr(message.Text, message.Caption, {});
    }

    if (options.Simulate) {
        std::cerr << lumidor::FormatGccDiagnostics(shownName, report);
        if (report.FileOpened) {
            lumidor::SimulateScript(script, options.Steps, options.Seed, options.StepByStep);
            std::cout << lumidor::SimulationLine(options.Steps, script.Containers) << '\n';
        }
    } else if (options.Gcc) {
        std::cout << lumidor::FormatGccProblems(shownName, report);
    } else if (options.Dump && report.FileOpened) {
        std::cout << lumidor::DumpScriptJson(script, report) << '\n';
    } else if (options.Dump) {
        std::cerr << lumidor::ReadableScriptLog(script.DebugLog);
    } else if (options.Raw) {
        std::fwrite(script.DebugLog.data(), 1, script.DebugLog.size(), stdout);
    } else {
        std::cout << lumidor::ReadableScriptLog(script.DebugLog);
    }
    std::cout.flush();
    const bool warningsFail = options.Werror && !report.Warnings.empty();
    if (warningsFail && !options.Gcc && !options.Simulate) {
        for (const lumidor::TScriptDiagnostic& warning : report.Warnings)
            std::cerr << lumidor::FormatGccWarning(shownName, warning) << '\n';
    }
    if (options.Root.empty() && AnyTextureMissing(report)) {
        std::cerr << "lumidor-psc: texture names are read below the current directory; --root DIR reads "
                     "them below DIR (the demo reads them below its data folder)\n";
    }
    if (!report.FileOpened) return options.Simulate ? 1 : 2;
    if (options.Simulate) return 0;
    return report.ErrorCount > 0 || warningsFail ? 1 : 0;
}
