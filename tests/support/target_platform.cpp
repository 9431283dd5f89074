// target_platform.cpp - running the programs of the Linux build, or of the Windows build under Wine.
#include "target_platform.h"

#include <cstdio>
#include <cstdlib>

namespace PageFixture {

namespace {

const char* Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

} // namespace

bool WindowsMode()
{
    return Variable("PAGE_TESTS_WINDOWS_BUILD") != nullptr;
}

bool SkippedUnderWine(const std::string& caseName, const char* reason)
{
    if (!WindowsMode() || reason == nullptr)
        return false;
    std::printf("[ SKIPPED  ] %s: not under Wine: %s\n", caseName.c_str(), reason);
    return true;
}

std::filesystem::path WindowsBuild()
{
    const char* build = Variable("PAGE_TESTS_WINDOWS_BUILD");
    return build != nullptr ? build : "";
}

std::string WineLoader()
{
    const char* wine = Variable("PAGE_TESTS_WINE");
    return wine != nullptr ? wine : "/usr/bin/wine";
}

std::vector<std::string> WineEnvironment()
{
    std::vector<std::string> environment;
    for (const char* name : {"WINEPREFIX", "WINESERVER", "WINELOADER", "HOME"}) {
        if (const char* value = Variable(name))
            environment.push_back(std::string(name) + "=" + value);
    }
    // Unix file names in UTF-8, as Linux writes them.
    environment.push_back("LANG=C.UTF-8");
    environment.push_back("WINEDEBUG=-all");
    return environment;
}

std::string ExecutableName(const std::string& program)
{
    return WindowsMode() ? program + ".exe" : program;
}

std::filesystem::path BuiltExecutable(const std::string& program, const char* linuxBuiltPath)
{
    return WindowsMode() ? WindowsBuild() / ExecutableName(program) : std::filesystem::path(linuxBuiltPath);
}

std::string TargetPath(const std::filesystem::path& path)
{
    if (!WindowsMode())
        return path.string();
    std::string windows = "Z:" + std::filesystem::absolute(path).string();
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    return windows;
}

char TargetSeparator()
{
    return WindowsMode() ? '\\' : '/';
}

RunResult RunOnTarget(const std::filesystem::path& executable, const RunOptions& options)
{
    if (!WindowsMode())
        return RunProgram(executable, options);

    // The program itself reads no environment and no arguments; what is
    // added here is Wine's alone.
    RunOptions underWine = options;
    underWine.arguments.insert(underWine.arguments.begin(), executable.string());
    underWine.argumentZero = WineLoader();
    for (std::string& variable : WineEnvironment())
        underWine.environment.push_back(variable);
    underWine.timeLimit += std::chrono::seconds(10);
    return RunProgram(WineLoader(), underWine);
}

} // namespace PageFixture
