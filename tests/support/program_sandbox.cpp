// program_sandbox.cpp - installing a program and writing its files.
#include "program_sandbox.h"

#include "target_platform.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace PageFixture {

const BuiltProgram Tembrix = {"tembrix", TEMBRIX_PATH, "tembrix.cfg"};
const BuiltProgram Quandelo = {"quandelo", QUANDELO_PATH, "quandelo.cfg"};
const BuiltProgram Morvane = {"5morvane", MORVANE_PATH, "5morvane.cfg"};
const BuiltProgram* const AllPrograms[3] = {&Tembrix, &Quandelo, &Morvane};

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::filesystem::path InstallProgram(const BuiltProgram& program, const std::filesystem::path& directory)
{
    namespace fs = std::filesystem;
    fs::path target = directory / ExecutableName(program.name);
    fs::copy_file(BuiltExecutable(program.name, program.builtPath), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
            | fs::perms::others_read | fs::perms::others_exec);
    return target;
}

std::string ConfigText(const std::vector<std::string>& lines, const std::string& lineEnd)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + lineEnd;
    return text;
}

ProgramSandbox::ProgramSandbox(const BuiltProgram& program)
    : program_(program), executable_(InstallProgram(program, directory_.Path()))
{
}

std::string ProgramSandbox::DataPrefix() const
{
    return TargetPath(Directory()) + TargetSeparator();
}

RunResult ProgramSandbox::Run(const RunOptions& options) const
{
    return RunOnTarget(executable_, options);
}

void ProgramSandbox::WriteConfig(const std::vector<std::string>& lines, const std::string& lineEnd) const
{
    WriteConfigBytes(ConfigText(lines, lineEnd));
}

void ProgramSandbox::WriteConfigBytes(const std::string& bytes) const
{
    WriteFile(Directory() / program_.configFileName, bytes);
}

void ProgramSandbox::WriteData(const std::string& name, const std::string& bytes) const
{
    WriteFile(Directory() / name, bytes);
}

} // namespace PageFixture
