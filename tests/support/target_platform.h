// target_platform.h - which build the end-to-end tests run: the Linux programs, or the Windows ones under Wine.
//
// Windows mode is on when PAGE_TESTS_WINDOWS_BUILD names the directory of the
// cross-built .exe files (and of hold_open.exe). The programs then run under
// the Wine loader named by PAGE_TESTS_WINE, paths reach them as Windows
// paths (Z: and backslashes), and the very same cases check the same bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"

namespace PageFixture {

bool WindowsMode();

// Skips the rest of a test that cannot apply to the Windows build.
#define SKIP_IN_WINDOWS_MODE(reason)                      \
    do {                                                  \
        if (::PageFixture::WindowsMode())                 \
            GTEST_SKIP() << "not under Wine: " << (reason); \
    } while (false)

// For one case of a table: true, after saying so, when the case has a
// reason not to run under Wine and this is Windows mode.
bool SkippedUnderWine(const std::string& caseName, const char* reason);

// The executable's file name on the target: "tembrix" or "tembrix.exe".
std::string ExecutableName(const std::string& program);

// Where the build under test left the executable.
std::filesystem::path BuiltExecutable(const std::string& program, const char* linuxBuiltPath);

// A path as the program under test names it: unchanged on Linux; under
// Wine, the absolute path on drive Z: with backslashes.
std::string TargetPath(const std::filesystem::path& path);

// The separator that ends a directory in the program's paths.
char TargetSeparator();

// Under Wine: the loader that runs a .exe, the environment it needs (its
// prefix, its server, UTF-8 file names, no debug output), and the
// directory of the Windows build.
std::string WineLoader();
std::vector<std::string> WineEnvironment();
std::filesystem::path WindowsBuild();

// Runs an installed executable as RunProgram does, under Wine in Windows
// mode: argv[0] is still the executable, the environment gains what Wine
// itself needs, and the time limit allows for Wine's start.
RunResult RunOnTarget(const std::filesystem::path& executable, const RunOptions& options);

} // namespace PageFixture
