// program_sandbox.h - one built program installed in a fresh directory with
// its configuration and data files, ready to run as a web server runs it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"
#include "temporary_directory.h"

namespace PageFixture {

// A program as the build made it.
struct BuiltProgram {
    const char* name;           // the executable's file name
    const char* builtPath;      // where the build left it
    const char* configFileName; // read from the executable's own directory
};

extern const BuiltProgram Tembrix;  // last callers, callers.dat
extern const BuiltProgram Quandelo; // node status, chat<N>.dat
extern const BuiltProgram Morvane;  // oneliners, oneliner.dat
extern const BuiltProgram* const AllPrograms[3];

// Writes bytes to path exactly, creating or replacing the file.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// Copies the built executable into directory under its own name (mode
// 0755; "tembrix.exe" and so on in Windows mode) and returns the copy's path.
std::filesystem::path InstallProgram(const BuiltProgram& program, const std::filesystem::path& directory);

// The configuration file's bytes: every line followed by lineEnd.
std::string ConfigText(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n");

// A fresh temporary directory holding a copy of the program, and nothing
// else until the test writes its files. Removed with everything in it.
class ProgramSandbox {
public:
    explicit ProgramSandbox(const BuiltProgram& program);

    const BuiltProgram& Program() const { return program_; }
    const std::filesystem::path& Directory() const { return directory_.Path(); }
    const std::filesystem::path& Executable() const { return executable_; }
    // The directory as a DataPath: its full path, as the program names it,
    // and a trailing separator.
    std::string DataPrefix() const;

    // Writes the .cfg beside the executable.
    void WriteConfig(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") const;
    void WriteConfigBytes(const std::string& bytes) const;
    // Writes a file, named relative to the directory.
    void WriteData(const std::string& name, const std::string& bytes) const;

    // Runs the installed program; under Wine in Windows mode.
    RunResult Run(const RunOptions& options = {}) const;

private:
    const BuiltProgram& program_;
    TemporaryDirectory directory_;
    std::filesystem::path executable_;
};

} // namespace PageFixture
