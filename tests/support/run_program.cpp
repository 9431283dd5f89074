// run_program.cpp - fork, exec and watch a program under test.
#include "run_program.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

namespace PageFixture {

namespace {

using Clock = std::chrono::steady_clock;

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~Descriptor() { Reset(); }

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

struct Pipe {
    Descriptor read;
    Descriptor write;
};

bool MakePipe(Pipe& pipe)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    pipe.read.Reset(fds[0]);
    pipe.write.Reset(fds[1]);
    return true;
}

// argv and envp as exec wants them, built before the fork: the child may
// only make async-signal-safe calls.
class CStringList {
public:
    explicit CStringList(const std::vector<std::string>& strings) : strings_(strings)
    {
        for (std::string& s : strings_)
            pointers_.push_back(s.data());
        pointers_.push_back(nullptr);
    }
    char* const* Get() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

// Everything the child needs, ready before the fork.
struct ChildPlan {
    const char* path;
    char* const* arguments;
    char* const* environment;
    int sources[3];  // descriptor for 0, 1, 2; -1 to leave it closed
    const char* workingDirectory; // nullptr: stay
    const std::vector<ResourceLimit>* resourceLimits;
    const std::vector<int>* ignoredSignals;
    sigset_t mask;
    bool setUser;
    uid_t userId;
    bool setGroup;
    gid_t groupId;
    int errorReport; // write end of a close-on-exec pipe
};

[[noreturn]] void ChildFail(int errorReport)
{
    int error = errno;
    ssize_t ignored = ::write(errorReport, &error, sizeof error);
    (void)ignored;
    ::_exit(127);
}

// Runs in the forked child: async-signal-safe calls only.
[[noreturn]] void StartChild(const ChildPlan& plan)
{
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal == SIGKILL || signal == SIGSTOP)
            continue;
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        ::sigaction(signal, &action, nullptr); // fails harmlessly for the reserved ones
    }
    for (int signal : *plan.ignoredSignals) {
        struct sigaction action {};
        action.sa_handler = SIG_IGN;
        ::sigaction(signal, &action, nullptr);
    }
    ::sigprocmask(SIG_SETMASK, &plan.mask, nullptr);

    // Move every source out of the way of 0, 1 and 2 first, so that one
    // dup2 cannot overwrite the source of another.
    int moved[3];
    for (int target = 0; target < 3; ++target) {
        moved[target] = -1;
        if (plan.sources[target] >= 0) {
            moved[target] = ::fcntl(plan.sources[target], F_DUPFD_CLOEXEC, 3);
            if (moved[target] < 0)
                ChildFail(plan.errorReport);
        }
    }
    for (int target = 0; target < 3; ++target) {
        if (moved[target] >= 0) {
            if (::dup2(moved[target], target) < 0)
                ChildFail(plan.errorReport);
        } else {
            ::close(target);
        }
    }
    // Only 0, 1 and 2 survive the exec.
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        for (int fd = 3; fd < 4096; ++fd)
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }

    if (plan.workingDirectory != nullptr && ::chdir(plan.workingDirectory) != 0)
        ChildFail(plan.errorReport);
    for (const ResourceLimit& limit : *plan.resourceLimits) {
        struct rlimit value = {limit.value, limit.value};
        if (::setrlimit(limit.resource, &value) != 0)
            ChildFail(plan.errorReport);
    }
    if (plan.setGroup || plan.setUser) {
        if (::setgroups(0, nullptr) != 0 && errno != EPERM)
            ChildFail(plan.errorReport);
    }
    if (plan.setGroup && ::setgid(plan.groupId) != 0)
        ChildFail(plan.errorReport);
    if (plan.setUser && ::setuid(plan.userId) != 0)
        ChildFail(plan.errorReport);

    ::execve(plan.path, plan.arguments, plan.environment);
    ChildFail(plan.errorReport);
}

// Blocks SIGPIPE in this thread while the run feeds the child's stdin, so a
// child that does not read cannot kill the test; a SIGPIPE raised meanwhile
// is taken off again before the mask is restored.
class BrokenPipeGuard {
public:
    BrokenPipeGuard()
    {
        sigset_t pipeOnly;
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous_);
    }
    BrokenPipeGuard(const BrokenPipeGuard&) = delete;
    BrokenPipeGuard& operator=(const BrokenPipeGuard&) = delete;
    ~BrokenPipeGuard()
    {
        sigset_t pipeOnly;
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        struct timespec now = {0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &now) == SIGPIPE) {
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

private:
    sigset_t previous_;
};

int MillisecondsUntil(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left < 0)
        return 0;
    return left > 1000 ? 1000 : static_cast<int>(left);
}

void RecordStatus(int status, RunResult& result)
{
    if (WIFEXITED(status)) {
        result.ending = RunResult::Ending::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.ending = RunResult::Ending::Signalled;
        result.signal = WTERMSIG(status);
    }
}

// Takes what the pipe holds; closes it at its end.
void Drain(Descriptor& from, std::string& into, std::size_t limit, bool& tooLong)
{
    char buffer[65536];
    ssize_t got = ::read(from.Get(), buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        from.Reset();
        return;
    }
    std::size_t count = static_cast<std::size_t>(got);
    if (into.size() + count > limit) {
        into.append(buffer, limit - into.size());
        tooLong = true;
        return;
    }
    into.append(buffer, count);
}

} // namespace

RunResult RunProgram(const std::filesystem::path& path, const RunOptions& options)
{
    RunResult result;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + options.timeLimit;

    std::vector<std::string> argumentStrings;
    argumentStrings.push_back(options.argumentZero.value_or(path.string()));
    argumentStrings.insert(argumentStrings.end(), options.arguments.begin(), options.arguments.end());
    CStringList arguments(argumentStrings);
    CStringList environment(options.environment);
    std::string pathString = path.string();
    std::string directoryString = options.workingDirectory.string();

    // The child's ends of its streams, and the test's ends.
    Descriptor nullDevice;
    Pipe input;
    Pipe output;
    Pipe error;
    Pipe errorReport;
    if (!MakePipe(errorReport)) {
        result.startError = errno;
        return result;
    }

    ChildPlan plan{};
    plan.path = pathString.c_str();
    plan.arguments = arguments.Get();
    plan.environment = environment.Get();
    plan.workingDirectory = directoryString.empty() ? nullptr : directoryString.c_str();
    plan.resourceLimits = &options.resourceLimits;
    plan.ignoredSignals = &options.ignoredSignals;
    sigemptyset(&plan.mask);
    for (int signal : options.blockedSignals)
        sigaddset(&plan.mask, signal);
    plan.setUser = options.userId.has_value();
    plan.userId = static_cast<uid_t>(options.userId.value_or(0));
    plan.setGroup = options.groupId.has_value();
    plan.groupId = static_cast<gid_t>(options.groupId.value_or(0));
    plan.errorReport = errorReport.write.Get();

    // stdin
    if (options.standardInput.has_value()) {
        if (!MakePipe(input)) {
            result.startError = errno;
            return result;
        }
        plan.sources[0] = input.read.Get();
    } else if (options.standardInputTarget.kind == StreamTarget::Kind::Descriptor) {
        plan.sources[0] = options.standardInputTarget.descriptor;
    } else if (options.standardInputTarget.kind == StreamTarget::Kind::Closed) {
        plan.sources[0] = -1;
    } else {
        nullDevice.Reset(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        if (!nullDevice.IsOpen()) {
            result.startError = errno;
            return result;
        }
        plan.sources[0] = nullDevice.Get();
    }
    // stdout and stderr
    const StreamTarget* targets[2] = {&options.standardOutputTarget, &options.standardErrorTarget};
    Pipe* captures[2] = {&output, &error};
    for (int i = 0; i < 2; ++i) {
        switch (targets[i]->kind) {
        case StreamTarget::Kind::Default:
            if (!MakePipe(*captures[i])) {
                result.startError = errno;
                return result;
            }
            plan.sources[i + 1] = captures[i]->write.Get();
            break;
        case StreamTarget::Kind::Descriptor:
            plan.sources[i + 1] = targets[i]->descriptor;
            break;
        case StreamTarget::Kind::Closed:
            plan.sources[i + 1] = -1;
            break;
        }
    }

    BrokenPipeGuard brokenPipeGuard;
    pid_t child = ::fork();
    if (child < 0) {
        result.startError = errno;
        return result;
    }
    if (child == 0)
        StartChild(plan);

    // The test keeps only its own ends.
    input.read.Reset();
    output.write.Reset();
    error.write.Reset();
    errorReport.write.Reset();
    nullDevice.Reset();

    // The report pipe closes on a successful exec; before that, only the
    // few calls of StartChild run, so this read does not wait for long.
    int startError = 0;
    ssize_t reported;
    do
        reported = ::read(errorReport.read.Get(), &startError, sizeof startError);
    while (reported < 0 && errno == EINTR);
    if (reported == static_cast<ssize_t>(sizeof startError)) {
        int status = 0;
        ::waitpid(child, &status, 0);
        result.ending = RunResult::Ending::NotStarted;
        result.startError = startError;
        result.elapsed = Clock::now() - start;
        return result;
    }

    const std::string& toSend = options.standardInput ? *options.standardInput : std::string();
    std::size_t sent = 0;
    if (input.write.IsOpen()) {
        ::fcntl(input.write.Get(), F_SETFL, O_NONBLOCK);
        if (toSend.empty())
            input.write.Reset();
    }

    bool tooLong = false;
    bool exited = false;
    int status = 0;
    while (!tooLong) {
        if (!exited && ::waitpid(child, &status, WNOHANG) == child)
            exited = true;
        if (exited && !output.read.IsOpen() && !error.read.IsOpen())
            break;
        if (Clock::now() >= deadline)
            break;

        struct pollfd watched[3];
        nfds_t count = 0;
        int which[3];
        if (output.read.IsOpen()) {
            watched[count] = {output.read.Get(), POLLIN, 0};
            which[count++] = 1;
        }
        if (error.read.IsOpen()) {
            watched[count] = {error.read.Get(), POLLIN, 0};
            which[count++] = 2;
        }
        if (input.write.IsOpen()) {
            watched[count] = {input.write.Get(), POLLOUT, 0};
            which[count++] = 0;
        }
        if (count == 0) {
            // Nothing left to carry: wait for the end in short steps.
            struct timespec step = {0, 1000000};
            ::nanosleep(&step, nullptr);
            continue;
        }
        // Short steps also notice a child that exits while a descendant
        // still holds its pipes.
        int timeout = MillisecondsUntil(deadline);
        int ready = ::poll(watched, count, timeout < 20 ? timeout : 20);
        if (ready < 0 && errno != EINTR)
            break;
        for (nfds_t i = 0; ready > 0 && i < count; ++i) {
            if (watched[i].revents == 0)
                continue;
            if (which[i] == 0) {
                ssize_t written = ::write(input.write.Get(), toSend.data() + sent, toSend.size() - sent);
                if (written > 0)
                    sent += static_cast<std::size_t>(written);
                if ((written < 0 && errno != EAGAIN && errno != EINTR) || sent == toSend.size())
                    input.write.Reset();
            } else {
                Pipe& pipe = which[i] == 1 ? output : error;
                std::string& into = which[i] == 1 ? result.standardOutput : result.standardError;
                Drain(pipe.read, into, options.outputLimit, tooLong);
            }
        }
    }

    if (!exited) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            exited = true;
        } else {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    result.elapsed = Clock::now() - start;
    if (tooLong)
        result.ending = RunResult::Ending::OutputTooLong;
    else if (!exited)
        result.ending = RunResult::Ending::TimedOut;
    else
        RecordStatus(status, result);
    return result;
}

std::string Describe(const RunResult& result)
{
    switch (result.ending) {
    case RunResult::Ending::Exited:
        return "exited with " + std::to_string(result.exitCode);
    case RunResult::Ending::Signalled:
        return "killed by signal " + std::to_string(result.signal) + " (" + strsignal(result.signal) + ")";
    case RunResult::Ending::TimedOut:
        return "timed out after "
            + std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(result.elapsed).count())
            + " ms";
    case RunResult::Ending::OutputTooLong:
        return "killed after writing more than the output limit";
    case RunResult::Ending::NotStarted:
        return std::string("not started: ") + std::strerror(result.startError);
    }
    return "unknown";
}

} // namespace PageFixture
