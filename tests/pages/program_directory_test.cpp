// program_directory_test.cpp - where each program looks for its configuration
// when its path is long or reached through a link.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "expected_page.h"
#include "page_case.h"
#include "program_sandbox.h"
#include "target_platform.h"

using namespace PageFixture;
namespace fs = std::filesystem;

namespace {

// The configuration of the least data's frame.
std::string ConfigFor(const BuiltProgram& program, const std::string& boardName, const std::string& dataPath)
{
    std::vector<std::string> lines = {boardName, dataPath};
    for (const std::string& line : MinimalData(program).configAfterDataPath)
        lines.push_back(line);
    return ConfigText(lines);
}

void WriteFrameData(const fs::path& directory, const BuiltProgram& program)
{
    for (const DataFile& file : MinimalData(program).files)
        WriteFile(directory / file.first, file.second);
}

// Nested directories under base making a path of exactly length characters
// that ends with "/"; no single name is longer than 100.
fs::path DirectoryOfLength(const fs::path& base, std::size_t length)
{
    std::string path = base.string() + "/";
    for (char name = 'a'; path.size() < length; ++name) {
        std::size_t left = length - path.size();
        std::size_t nameLength = left > 150 ? 100 : left - 1;
        path += std::string(nameLength, name) + "/";
    }
    fs::create_directories(path);
    return path;
}

} // namespace

// The executable's path is cut to 255 characters and its directory taken
// from what is left: an ancestor of the real directory. The configuration's
// name after it is cut again at 255, and whatever that names is opened.
TEST(ProgramDirectory, TakenFromTheExecutablePathCutAt255)
{
    struct Case {
        const char* name;
        // Characters of the configuration's name that fit after the cut
        // directory; the size_t maximum stands for the whole name.
        std::size_t room;
        bool answered; // the page, from the file in the cut directory
    };
    const std::size_t wholeName = std::string::npos;
    const Case cases[] = {
        {"the whole name fits after the cut directory", wholeName, true},
        {"the name is cut: the cut name is what is opened", 5, true},
        {"one character of the name is left", 1, true},
        {"nothing of the name is left: the directory itself is refused", 0, false},
    };
    for (const BuiltProgram* program : AllPrograms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(program->name) + ": " + c.name);
            TemporaryDirectory base;
            // The kernel reports the executable's path with links resolved.
            fs::path real = fs::canonical(base.Path());
            std::string configName = program->configFileName;
            std::size_t room = c.room == wholeName ? configName.size() : c.room;
            // Lengths as the program sees its path: under Wine with "Z:".
            const std::size_t drive = TargetPath(real).size() - real.string().size();
            fs::path cutDirectory = DirectoryOfLength(real, 255 - room - drive);
            fs::path programDirectory = cutDirectory / std::string(60, 'x');
            fs::create_directory(programDirectory);
            fs::path executable = InstallProgram(*program, programDirectory);
            const std::string seenPath = TargetPath(executable);
            ASSERT_GT(seenPath.size(), 255u);
            ASSERT_EQ(seenPath.substr(0, 255).rfind(TargetSeparator()) + 1, TargetPath(cutDirectory).size());

            WriteFrameData(real, *program);
            std::string dataPath = TargetPath(real) + TargetSeparator();
            // Beside the executable, where a program that did not cut its
            // path would look.
            WriteFile(programDirectory / configName, ConfigFor(*program, "Beside", dataPath));
            if (room > 0)
                WriteFile(cutDirectory.string() + configName.substr(0, room), ConfigFor(*program, "Cut", dataPath));

            ExpectResponse(RunOnTarget(executable, {}),
                c.answered ? WholePage(*program, "Cut", MinimalData(*program).rows) : MissingConfigResponse(*program));
        }
    }
}

TEST(ProgramDirectory, LinksToTheExecutableAreResolved)
{
    SKIP_IN_WINDOWS_MODE("Windows names a program by the path it was started by; links are resolved on Linux");
    for (const BuiltProgram* program : AllPrograms) {
        SCOPED_TRACE(program->name);
        ProgramSandbox sandbox(*program);
        WriteFrameData(sandbox.Directory(), *program);
        sandbox.WriteConfigBytes(ConfigFor(*program, "Real", sandbox.DataPrefix()));
        fs::path linkDirectory = sandbox.Directory() / "link";
        fs::create_directory(linkDirectory);
        fs::create_symlink(sandbox.Executable(), linkDirectory / program->name);
        WriteFile(linkDirectory / program->configFileName, ConfigFor(*program, "Link", sandbox.DataPrefix()));

        ExpectResponse(
            RunProgram(linkDirectory / program->name), WholePage(*program, "Real", MinimalData(*program).rows));
    }
}
