// file_held_open.cpp - starting, and ending, the process that holds a file open.
#include "file_held_open.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "target_platform.h"

namespace PageFixture {

namespace {

// Waits for the holder's first line, "ready" once the file is open.
std::string ReadReport(int from, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string report;
    while (report.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return report + " (no answer in time)";
        struct pollfd watched = {from, POLLIN, 0};
        int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char buffer[256];
        ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return report + " (ended without an answer)";
        report.append(buffer, static_cast<std::size_t>(got));
    }
    // A Windows holder's C runtime ends its lines with CR LF.
    std::string line = report.substr(0, report.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

FileHeldOpen::FileHeldOpen(const std::filesystem::path& file)
{
    int release[2];
    int report[2];
    if (::pipe2(release, O_CLOEXEC) != 0 || ::pipe2(report, O_CLOEXEC) != 0) {
        failure_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }

    // Everything the child uses is made before the fork.
    const std::string path = file.string();
    std::vector<std::string> argumentStrings;
    std::vector<std::string> environmentStrings;
    if (WindowsMode()) {
        argumentStrings = {WineLoader(), (WindowsBuild() / "hold_open.exe").string(), TargetPath(file)};
        environmentStrings = WineEnvironment();
    }
    std::vector<char*> arguments;
    arguments.reserve(argumentStrings.size() + 1);
    for (std::string& s : argumentStrings)
        arguments.push_back(s.data());
    arguments.push_back(nullptr);
    std::vector<char*> environment;
    environment.reserve(environmentStrings.size() + 1);
    for (std::string& s : environmentStrings)
        environment.push_back(s.data());
    environment.push_back(nullptr);

    pid_t child = ::fork();
    if (child < 0) {
        failure_ = std::string("fork: ") + std::strerror(errno);
        ::close(release[0]);
        ::close(release[1]);
        ::close(report[0]);
        ::close(report[1]);
        return;
    }
    if (child == 0) {
        // Async-signal-safe calls only from here on.
        ::dup2(release[0], 0);
        ::dup2(report[1], 1);
        // Without an exec nothing closes these, and a write end kept here
        // would hold the release pipe open for ever.
        ::close(release[1]);
        ::close(report[0]);
        if (!argumentStrings.empty()) {
            ::execve(arguments[0], arguments.data(), environment.data());
            ::_exit(127);
        }
        int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0) {
            const char message[] = "failed to open\n";
            ssize_t ignored = ::write(1, message, sizeof message - 1);
            (void)ignored;
            ::_exit(1);
        }
        const char ready[] = "ready\n";
        ssize_t ignored = ::write(1, ready, sizeof ready - 1);
        (void)ignored;
        for (;;) {
            char byte;
            ssize_t got = ::read(0, &byte, 1);
            if (got == 0 || (got < 0 && errno != EINTR))
                ::_exit(0);
        }
    }

    child_ = child;
    ::close(release[0]);
    ::close(report[1]);
    release_ = release[1];
    // Wine starts a second or so late.
    std::string answer = ReadReport(report[0], std::chrono::seconds(WindowsMode() ? 30 : 5));
    ::close(report[0]);
    if (answer != "ready")
        failure_ = "the holder answered: " + answer;
}

FileHeldOpen::~FileHeldOpen()
{
    if (release_ >= 0)
        ::close(release_);
    if (child_ < 0)
        return;
    // The holder ends at once when its input closes; one that does not is
    // not waited on for ever.
    for (int tries = 0; tries < 3000; ++tries) {
        int status = 0;
        pid_t done = ::waitpid(child_, &status, WNOHANG);
        if (done == child_ || (done < 0 && errno != EINTR))
            return;
        ::usleep(10000);
    }
    ::kill(child_, SIGKILL);
    int status = 0;
    ::waitpid(child_, &status, 0);
}

} // namespace PageFixture
