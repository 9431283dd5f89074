// program_path_test.cpp - the executable's own path and directory.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "config.h"
#include "io.h"
#include "kit_test_support.h"

namespace {

constexpr const char* ReportVariable = "KIT_TESTS_REPORT_PROGRAM_PATH";

// Started again by the test below under another path, this binary reports
// what the kit sees there, and ends before any test runs.
const bool reportedForParent = [] {
    if (std::getenv(ReportVariable) == nullptr)
        return false;
    std::string report = ToStd(ProgramPath()) + "\n" + ToStd(ProgramDirectory());
    ssize_t written = ::write(STDOUT_FILENO, report.data(), report.size());
    ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
}();

TEST(ProgramPath, NamesThisTestExecutable)
{
    std::string path = ToStd(ProgramPath());
    std::string directory = ToStd(ProgramDirectory());
    const std::string name = "kit_tests";

    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(path.substr(path.size() - name.size() - 1), "/" + name);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(directory, path.substr(0, path.size() - name.size()));
    EXPECT_EQ(directory.back(), '/');
    EXPECT_EQ(TakeIoError(), 0);
}

TEST(ProgramPath, CutAt255AndWithSymlinksResolved)
{
    ScratchDirectory scratch;
    const std::string base = std::filesystem::canonical(scratch.Path()).string();
    const std::string name = "kit_tests";

    // Two directory levels that bring the executable's full path to exactly
    // 300 characters.
    const std::size_t fixed = base.size() + 1 + 1 + 1 + name.size();
    ASSERT_LT(fixed + 2, 300u);
    const std::size_t first = (300 - fixed) / 2;
    const std::size_t second = 300 - fixed - first;
    const std::string deepDirectory = base + "/" + std::string(first, 'd') + "/" + std::string(second, 'e');
    std::filesystem::create_directories(deepDirectory);
    const std::string deepCopy = deepDirectory + "/" + name;
    ASSERT_EQ(deepCopy.size(), 300u);

    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::error_code linkError;
    std::filesystem::create_hard_link(self, deepCopy, linkError);
    if (linkError)
        std::filesystem::copy_file(self, deepCopy);
    std::filesystem::create_directory(base + "/short");
    const std::string shortCopy = base + "/short/" + name;
    std::filesystem::copy_file(deepCopy, shortCopy);
    std::filesystem::create_symlink(shortCopy, base + "/link");

    struct Case {
        const char* name;
        std::string started;
        std::string path;
        std::string directory;
    };
    const std::string cutPath = deepCopy.substr(0, 255);
    const Case cases[] = {
        {"300 characters", deepCopy, cutPath, cutPath.substr(0, cutPath.rfind('/') + 1)},
        {"through a symlink", base + "/link", shortCopy, base + "/short/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChildResult child = RunInChild([&c] {
            std::string variable = std::string(ReportVariable) + "=1";
            char* const arguments[] = {const_cast<char*>(c.started.c_str()), nullptr};
            char* const environment[] = {variable.data(), nullptr};
            ::execve(c.started.c_str(), arguments, environment);
            return 127;
        });
        ASSERT_TRUE(child.exited);
        ASSERT_EQ(child.exitCode, 0);
        EXPECT_EQ(child.standardOutput, c.path + "\n" + c.directory);
    }
}

} // namespace
