// fuzz_support.h - what the fuzzers share: a scratch directory for data
// files, standard output caught in memory, and checks that stop the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "text.h"

namespace FuzzSupport {

// Prints what failed and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const char* what, std::string_view detail = {});

inline void Check(bool condition, const char* what, std::string_view detail = {})
{
    if (!condition)
        Fail(what, detail);
}

Text ToText(std::string_view bytes);
std::string FromText(const Text& text);

// A directory of its own under the system's temporary directory, removed
// when the process ends normally.
const std::filesystem::path& ScratchDirectory();

// The scratch directory as a DataPath: its full path and a trailing "/".
Text ScratchDataPath();

void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Standard output turned into a memory file for the whole run: Begin
// empties it, Take returns what was written since.
void BeginCapture();
std::string TakeCapture();

} // namespace FuzzSupport
