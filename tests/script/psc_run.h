#pragma once
// Running lumidor-psc as a program from the suites that check it: its exit status, standard output
// and standard error, and a scratch folder per test.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

/// What one run of lumidor-psc gave.
struct TRun {
    int Status = -1; ///< exit status; -1 when it did not exit normally
    std::string Out; ///< standard output
    std::string Err; ///< standard error
};

/// Runs lumidor-psc with `arguments` (shell words) in directory `dir`.
inline TRun RunPsc(const std::string& dir, const std::string& arguments) {
    const std::string errFile =
        std::filesystem::temp_directory_path() / ("psc-err-" + std::to_string(getpid()));
    const std::string command = "cd '" + dir + "' && '" LUMIDOR_PSC "' " + arguments + " 2>'" + errFile + "'";
    TRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Out.append(buffer, got);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile, std::ios::binary);
    std::stringstream text;
    text << err.rdbuf();
    run.Err = text.str();
    std::filesystem::remove(errFile);
    return run;
}

/// A test with a scratch folder of its own, removed afterwards.
class Psc : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/lumidor-psc-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    /// Writes `content` to the file `name` of the scratch folder.
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    std::filesystem::path dir; ///< the scratch folder
};
