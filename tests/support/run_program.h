// run_program.h - starts a built program the way a web server starts a CGI
// program, and collects everything it does.
//
// By default the child gets stdin from /dev/null, an empty environment, no
// arguments beyond argv[0], default signal dispositions with nothing blocked,
// only descriptors 0, 1 and 2 open, and stdout and stderr captured whole.
// Every run has a hard time limit: a child still running then is killed
// with SIGKILL and the run is reported as timed out, so no test can hang.
// RunProgram may be called from several threads at once; a SIGPIPE from a
// child that stops reading its stdin never reaches the test.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace PageFixture {

// Where one of the child's standard streams goes, when not the default.
// A descriptor of the test process (a file, a pipe end, a socket) is given
// to the child with dup2 and neither read nor closed by RunProgram; it must
// stay open until RunProgram returns. RunProgram does not read a pipe given
// as stdout, so a child that fills it waits until another thread drains it
// or the time limit ends the run.
struct StreamTarget {
    enum class Kind {
        Default,    // stdin: /dev/null; stdout and stderr: captured
        Descriptor, // the given descriptor of the test process
        Closed,     // the child starts with this descriptor closed
    };
    Kind kind = Kind::Default;
    int descriptor = -1;

    static StreamTarget Captured() { return {}; }
    static StreamTarget To(int fd) { return {Kind::Descriptor, fd}; }
    static StreamTarget Closing() { return {Kind::Closed, -1}; }
};

struct ResourceLimit {
    int resource; // RLIMIT_NOFILE, RLIMIT_FSIZE, ...
    rlim_t value; // both the soft and the hard limit
};

struct RunOptions {
    // argv[1] on; argv[0] is the program's path unless argumentZero is set.
    std::vector<std::string> arguments;
    std::optional<std::string> argumentZero;
    // "NAME=value" entries; the child's whole environment.
    std::vector<std::string> environment;
    // Bytes fed to the child's stdin through a pipe, which is closed after
    // the last byte (or when the child stops reading). When set, it takes
    // the place of standardInputTarget.
    std::optional<std::string> standardInput;
    StreamTarget standardInputTarget;
    StreamTarget standardOutputTarget;
    StreamTarget standardErrorTarget;
    // The child's current directory; the test process's own when empty.
    std::filesystem::path workingDirectory;
    // Run as this user and group (needs root; supplementary groups are
    // dropped); the test's own when unset.
    std::optional<unsigned> userId;
    std::optional<unsigned> groupId;
    std::vector<ResourceLimit> resourceLimits;
    // Signals the child starts with ignored, or blocked; every other signal
    // starts with its default action, unblocked.
    std::vector<int> ignoredSignals;
    std::vector<int> blockedSignals;
    // After this the child is killed and the run counts as timed out.
    std::chrono::milliseconds timeLimit{5000};
    // A captured stream that grows past this is cut there and the child is
    // killed: a runaway program cannot fill the test's memory.
    std::size_t outputLimit = std::size_t{64} << 20;
};

struct RunResult {
    enum class Ending {
        Exited,        // exitCode holds the code
        Signalled,     // signal holds the signal that ended it
        TimedOut,      // killed at the time limit
        OutputTooLong, // killed at the output limit
        NotStarted,    // startError holds the errno of the failed fork/exec
    };
    Ending ending = Ending::NotStarted;
    int exitCode = -1;
    int signal = 0;
    int startError = 0;
    std::string standardOutput; // empty unless captured
    std::string standardError;  // empty unless captured
    std::chrono::nanoseconds elapsed{0};

    bool ExitedWith(int code) const { return ending == Ending::Exited && exitCode == code; }
};

// Runs the executable at path to its end, or to its time or output limit.
RunResult RunProgram(const std::filesystem::path& path, const RunOptions& options = {});

// "exited with 0", "killed by signal 11", "timed out after 5000 ms", ...:
// for failure messages.
std::string Describe(const RunResult& result);

} // namespace PageFixture
