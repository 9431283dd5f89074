// run_program_test.cpp - the runner the end-to-end tests stand on: what the
// child starts with, what comes back, and that no run can hang.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>

#include "program_sandbox.h"
#include "run_program.h"
#include "temporary_directory.h"

using namespace PageFixture;
using namespace std::chrono_literals;

namespace {

const char* const Probe = RUN_PROBE_PATH;

RunResult RunProbe(std::vector<std::string> arguments, RunOptions options = {})
{
    options.arguments = std::move(arguments);
    return RunProgram(Probe, options);
}

} // namespace

TEST(RunProgram, StartsTheChildAsAWebServerWould)
{
    RunResult result = RunProbe({"report"});
    ASSERT_TRUE(result.ExitedWith(0)) << Describe(result);
    EXPECT_EQ(result.standardOutput,
        std::string("argument ") + Probe + "\nargument report\nopen 0 1 2\nSIGPIPE default unblocked\n");

    RunResult copied = RunProbe({"copy"});
    EXPECT_TRUE(copied.ExitedWith(0)) << Describe(copied);
    EXPECT_EQ(copied.standardOutput, ""); // stdin is /dev/null
    EXPECT_EQ(copied.standardError, "to stderr\n");
}

TEST(RunProgram, PassesWhatTheOptionsGive)
{
    // The test process's own state must not leak into the child.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    ::sigaction(SIGPIPE, &ignore, &previous);

    RunOptions options;
    options.argumentZero = "cgi";
    options.environment = {"GATEWAY_INTERFACE=CGI/1.1", "QUERY_STRING=a=1"};
    RunResult result = RunProbe({"report", "extra"}, options);
    EXPECT_EQ(result.standardOutput,
        "argument cgi\nargument report\nargument extra\n"
        "environment GATEWAY_INTERFACE=CGI/1.1\nenvironment QUERY_STRING=a=1\n"
        "open 0 1 2\nSIGPIPE default unblocked\n");

    RunOptions signals;
    signals.ignoredSignals = {SIGPIPE};
    signals.blockedSignals = {SIGPIPE};
    signals.standardInputTarget = StreamTarget::Closing();
    EXPECT_EQ(RunProbe({"report"}, signals).standardOutput,
        std::string("argument ") + Probe + "\nargument report\nopen 1 2\nSIGPIPE ignored blocked\n");
    ::sigaction(SIGPIPE, &previous, nullptr);
}

TEST(RunProgram, FeedsStandardInputWhole)
{
    std::string input;
    for (int i = 0; input.size() < (1u << 20); ++i)
        input += std::to_string(i) + "\n";
    RunOptions options;
    options.standardInput = input;
    RunResult result = RunProbe({"copy"}, options);
    EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
    EXPECT_EQ(result.standardOutput, input);

    // A child that never reads must not stop the test with SIGPIPE.
    RunResult ignoring = RunProbe({"exit", "0"}, options);
    EXPECT_TRUE(ignoring.ExitedWith(0)) << Describe(ignoring);
}

TEST(RunProgram, SendsStandardOutputToAGivenDescriptor)
{
    TemporaryDirectory directory;
    int fd = ::open((directory / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    RunOptions options;
    options.standardInput = "to the file";
    options.standardOutputTarget = StreamTarget::To(fd);
    RunResult result = RunProbe({"copy"}, options);
    ::close(fd);
    EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
    EXPECT_EQ(result.standardOutput, "");
    EXPECT_EQ(ReadFile(directory / "out"), "to the file");
}

TEST(RunProgram, ReportsHowTheChildEnded)
{
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        RunResult::Ending ending;
        int exitCode;
        int signal;
    };
    const Case cases[] = {
        {"an exit code", {"exit", "7"}, RunResult::Ending::Exited, 7, 0},
        {"a signal", {"signal", std::to_string(SIGTERM)}, RunResult::Ending::Signalled, -1, SIGTERM},
        {"a hang, killed at the time limit", {"hang"}, RunResult::Ending::TimedOut, -1, 0},
        {"endless output, killed at the output limit", {"flood"}, RunResult::Ending::OutputTooLong, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunOptions options;
        options.timeLimit = 300ms;
        options.outputLimit = 1000000;
        RunResult result = RunProbe(c.arguments, options);
        EXPECT_EQ(result.ending, c.ending) << Describe(result);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.signal, c.signal);
        EXPECT_LT(result.elapsed, 5s);
        if (c.ending == RunResult::Ending::OutputTooLong) {
            EXPECT_EQ(result.standardOutput.size(), options.outputLimit);
        }
    }

    RunResult missing = RunProgram(TemporaryDirectory().Path() / "no-such-program");
    EXPECT_EQ(missing.ending, RunResult::Ending::NotStarted);
    EXPECT_EQ(missing.startError, ENOENT);
}

TEST(ProgramSandbox, RemovesItsDirectory)
{
    std::filesystem::path directory;
    {
        ProgramSandbox sandbox(Tembrix);
        directory = sandbox.Directory();
        std::filesystem::create_directories(directory / "locked" / "inner");
        sandbox.WriteData("locked/inner/file", "x");
        std::filesystem::permissions(directory / "locked", std::filesystem::perms::none);
        EXPECT_TRUE(std::filesystem::exists(sandbox.Executable()));
    }
    EXPECT_FALSE(std::filesystem::exists(directory));
}
