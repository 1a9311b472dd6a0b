// lumidor-psc: checks a particle script without a display. Loads it as the demo would (textures are
// decoded by the real readers into the GL recording fake, never uploaded) and prints the debugger
// log, with --dump a JSON description of what the script compiled to, or with --format=gcc one
// "FILE:LINE:COLUMN: error: MESSAGE" line per problem for editors and CI. Texture names are read
// below --root (the demo reads them below its data folder), without changing the working directory.
//
// Exit status: 0 no error in the log, 1 errors reported, 2 file not readable or bad arguments.

#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "tools/psc/script_dump.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: lumidor-psc [--raw] [--dump] [--format=log|gcc] [--name NAME] [--root DIR] FILE\n"
    "  Loads the particle script FILE and prints its debugger log, each CR shown as a line break.\n"
    "  --raw        print the exact log bytes (lines end with a single CR)\n"
    "  --dump       print a JSON object of what the script compiled to instead of the log\n"
    "  --format=gcc one line per error, FILE:LINE:COLUMN: error: MESSAGE (LINE from 1; errors of no\n"
    "               line as FILE: error: MESSAGE); --format=log (the default) prints the log\n"
    "  --name NAME  the file name shown on the log's \"File:\" line and in gcc lines (default: FILE)\n"
    "  --root DIR   the folder \"loadtexture\" names are relative to, as the demo's data folder is\n"
    "               (default: the current directory); e.g. --root data data/scripts/ParticleScript1.psc\n"
    "exit status: 0 no errors, 1 errors reported, 2 file cannot be opened or bad arguments\n";

struct TOptions {
    bool Raw = false;
    bool Dump = false;
    bool Gcc = false;
    std::string Name;
    bool HasName = false;
    std::string Root;
    std::string File;
};

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
    TOptions options;
    if (const int status = ParseArguments(argc, argv, options); status != 0) return status < 0 ? 0 : status;

    // No GL is ever set up: "loadtexture" decodes and checks the file, and nothing is uploaded.
    lumidor::TParticleScript script;
    const std::string shownName = options.HasName ? options.Name : options.File;
    const lumidor::TScriptLoadReport report =
        lumidor::LoadScriptWithReport(script, shownName, options.File, options.Root);

    if (options.Gcc) {
        std::cout << lumidor::FormatGccDiagnostics(shownName, report);
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
    if (options.Root.empty() && AnyTextureMissing(report)) {
        std::cerr << "lumidor-psc: texture names are read below the current directory; --root DIR reads "
                     "them below DIR (the demo reads them below its data folder)\n";
    }
    if (!report.FileOpened) return 2;
    return report.ErrorCount > 0 ? 1 : 0;
}
