// kit_test_support.cpp - captured output, scratch directories and child
// processes for the kit's unit tests.
#include "kit_test_support.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

std::string ToStd(const Text& text)
{
    return std::string(text.chars, text.length);
}

Text FromStd(const std::string& bytes)
{
    Text text;
    text.Assign(bytes.data(), bytes.size());
    return text;
}

CapturedOutput::CapturedOutput() : savedStream_(Output)
{
    std::fflush(stdout);
    savedOutput_ = ::dup(STDOUT_FILENO);
    std::string name = (std::filesystem::temp_directory_path() / "kit_tests_output.XXXXXX").string();
    captureFile_ = ::mkstemp(name.data());
    if (savedOutput_ < 0 || captureFile_ < 0)
        throw std::runtime_error("cannot capture standard output");
    ::unlink(name.c_str());
    ::dup2(captureFile_, STDOUT_FILENO);
}

CapturedOutput::~CapturedOutput()
{
    if (!finished_)
        Finish();
}

std::string CapturedOutput::Finish()
{
    std::fflush(stdout);
    ::dup2(savedOutput_, STDOUT_FILENO);
    ::close(savedOutput_);
    Output = savedStream_;
    finished_ = true;

    std::string bytes;
    char piece[4096];
    ::lseek(captureFile_, 0, SEEK_SET);
    for (ssize_t got; (got = ::read(captureFile_, piece, sizeof piece)) > 0;)
        bytes.append(piece, static_cast<std::size_t>(got));
    ::close(captureFile_);
    return bytes;
}

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kit_tests.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDirectory::Write(const std::string& name, const std::string& bytes) const
{
    std::string path = PathOf(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
    return path;
}

static std::string ReadAll(int descriptor)
{
    std::string bytes;
    char piece[4096];
    for (;;) {
        ssize_t got = ::read(descriptor, piece, sizeof piece);
        if (got > 0)
            bytes.append(piece, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    ::close(descriptor);
    return bytes;
}

ChildResult RunInChild(const std::function<int()>& body)
{
    std::fflush(stdout);
    std::fflush(stderr);
    int outputPipe[2];
    int errorPipe[2];
    if (::pipe(outputPipe) != 0 || ::pipe(errorPipe) != 0)
        throw std::runtime_error("cannot make pipes");
    pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        ::alarm(10);
        ::dup2(outputPipe[1], STDOUT_FILENO);
        ::dup2(errorPipe[1], STDERR_FILENO);
        for (int descriptor : {outputPipe[0], outputPipe[1], errorPipe[0], errorPipe[1]})
            ::close(descriptor);
        ::_exit(body());
    }
    ::close(outputPipe[1]);
    ::close(errorPipe[1]);

    // The outputs are small, so reading one pipe to its end before the
    // other cannot leave the child stuck on a full pipe.
    ChildResult result;
    result.standardOutput = ReadAll(outputPipe[0]);
    result.standardError = ReadAll(errorPipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}
