// unusual_files_test.cpp - data and configuration paths that name no
// regular file, and data files the web server's account may only read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "expected_page.h"
#include "program_sandbox.h"
#include "run_program.h"
#include "sample_board.h"

namespace Reliability {
namespace {

using namespace PageFixture;
namespace fs = std::filesystem;

struct SpecialFile {
    const char* name;
    void (*make)(const fs::path& path);
};

// A FIFO with no writer would block a plain open; /dev/zero never ends.
const SpecialFile SpecialFiles[] = {
    {"FIFO without a writer", [](const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }},
    {"directory", [](const fs::path& path) { fs::create_directory(path); }},
    {"symlink to /dev/zero", [](const fs::path& path) { fs::create_symlink("/dev/zero", path); }},
};

RunOptions Bounded()
{
    RunOptions options;
    options.timeLimit = std::chrono::seconds(5);
    return options;
}

// Not a regular file counts as a file that cannot be opened: the pages that
// open their file before the header answer nothing, the node page stops
// after its header.
TEST(SpecialFiles, DataFileThatIsNoRegularFileCannotBeOpened)
{
    for (const SpecialFile& special : SpecialFiles) {
        for (const BuiltProgram* program : AllPrograms) {
            SCOPED_TRACE(std::string(special.name) + ", " + program->name);
            ProgramSandbox sandbox(*program);
            InstallSampleBoard(sandbox, 3);
            const fs::path dataFile = sandbox.Directory() / FirstDataFile(*program);
            fs::remove(dataFile);
            special.make(dataFile);

            RunResult result = sandbox.Run(Bounded());
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
            EXPECT_EQ(result.standardOutput, program == &Quandelo ? PageHeader(*program, BoardName) : "");
        }
    }
}

TEST(SpecialFiles, ConfigurationThatIsNoRegularFileIsMissing)
{
    for (const SpecialFile& special : SpecialFiles) {
        for (const BuiltProgram* program : AllPrograms) {
            SCOPED_TRACE(std::string(special.name) + ", " + program->name);
            ProgramSandbox sandbox(*program);
            special.make(sandbox.Directory() / program->configFileName);

            RunResult result = sandbox.Run(Bounded());
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
            EXPECT_EQ(result.standardOutput, MissingConfigResponse(*program));
        }
    }
}

// Every account may pass through the directories above path.
bool OthersCanReach(const fs::path& path)
{
    for (fs::path at = path.parent_path(); !at.empty() && at != at.root_path(); at = at.parent_path()) {
        if ((fs::status(at).permissions() & fs::perms::others_exec) == fs::perms::none)
            return false;
    }
    return true;
}

// The web server's account may read the board's files but not write them:
// as root the program runs as nobody over files root owns, otherwise over
// files made read-only. The page is the one a writable board gives.
TEST(SpecialFiles, ReadOnlyDataIsShown)
{
    const bool root = ::geteuid() == 0;
    const unsigned nobody = 65534;
    if (root && !OthersCanReach(fs::temp_directory_path() / "sandbox"))
        GTEST_SKIP() << "the temporary directory is out of reach of other accounts";
    for (const BuiltProgram* program : AllPrograms) {
        SCOPED_TRACE(program->name);
        ProgramSandbox sandbox(*program);
        InstallSampleBoard(sandbox, 20);
        const RunResult writable = sandbox.Run(Bounded());
        ASSERT_TRUE(writable.ExitedWith(0)) << Describe(writable);
        ASSERT_NE(writable.standardOutput, "");

        const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        for (const fs::directory_entry& entry : fs::directory_iterator(sandbox.Directory())) {
            if (entry.path() != sandbox.Executable())
                fs::permissions(entry.path(), readOnly);
        }
        fs::permissions(sandbox.Directory(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                | fs::perms::others_read | fs::perms::others_exec);

        RunOptions options = Bounded();
        if (root) {
            options.userId = nobody;
            options.groupId = nobody;
        }
        RunResult result = sandbox.Run(options);
        EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
        EXPECT_EQ(result.standardError, "");
        EXPECT_EQ(result.standardOutput, writable.standardOutput);
    }
}

} // namespace
} // namespace Reliability
