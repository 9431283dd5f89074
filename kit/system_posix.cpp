// system_posix.cpp - the operating system calls of the kit, for Linux.
#include "system.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace System {

std::int32_t OpenForReading(const Text& path, FileHandle& handle)
{
    handle = NoHandle;
    // A NUL would silently cut the path short and open another file.
    if (std::memchr(path.chars, '\0', path.length) != nullptr)
        return ENOENT;
    char name[256];
    std::memcpy(name, path.chars, path.length);
    name[path.length] = '\0';

    // O_NONBLOCK keeps a FIFO without a writer from blocking the open; it
    // changes nothing for the regular files that are accepted.
    int fd;
    do
        fd = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno;

    struct stat status;
    std::int32_t error = 0;
    if (::fstat(fd, &status) != 0)
        error = errno;
    else if (S_ISDIR(status.st_mode))
        error = EISDIR;
    else if (!S_ISREG(status.st_mode))
        error = EINVAL;
    if (error != 0) {
        ::close(fd);
        return error;
    }
    handle = fd;
    return 0;
}

std::int32_t Read(FileHandle handle, void* buffer, std::size_t& count)
{
    std::size_t wanted = count;
    count = 0;
    // A regular file gives less than asked only at its end, or when a
    // signal cuts the read short; go on until one of those is certain.
    while (count < wanted) {
        ssize_t got = ::read(static_cast<int>(handle), static_cast<char*>(buffer) + count, wanted - count);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            break;
        count += static_cast<std::size_t>(got);
    }
    return 0;
}

std::int32_t FileSize(FileHandle handle, std::uint64_t& size)
{
    struct stat status;
    if (::fstat(static_cast<int>(handle), &status) != 0)
        return errno;
    size = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

std::int32_t Close(FileHandle handle)
{
    // Linux releases the descriptor even when close fails; never retry.
    return ::close(static_cast<int>(handle)) == 0 ? 0 : errno;
}

// A web server that closes its end of the pipe must not kill the page with
// SIGPIPE: the write then fails with EPIPE like any other. Done on the first
// write, so a run that writes nothing makes no call for it.
static void IgnoreBrokenPipe()
{
    static bool ignored = false;
    if (!ignored) {
        ::signal(SIGPIPE, SIG_IGN);
        ignored = true;
    }
}

static bool WaitUntilWritable()
{
    struct pollfd target = {STDOUT_FILENO, POLLOUT, 0};
    for (;;) {
        int ready = ::poll(&target, 1, -1);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

std::int32_t WriteStandardOutput(const char* head, std::size_t headCount, const char* tail, std::size_t tailCount)
{
    IgnoreBrokenPipe();
    struct iovec pieces[2] = {
        {const_cast<char*>(head), headCount},
        {const_cast<char*>(tail), tailCount},
    };
    struct iovec* next = pieces;
    int left = 2;
    while (left > 0) {
        if (next->iov_len == 0) {
            ++next;
            --left;
            continue;
        }
        ssize_t written = ::writev(STDOUT_FILENO, next, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                if (WaitUntilWritable())
                    continue;
            }
            return errno;
        }
        if (written == 0)
            return EIO;
        auto done = static_cast<std::size_t>(written);
        while (left > 0 && done >= next->iov_len) {
            done -= next->iov_len;
            ++next;
            --left;
        }
        if (left > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + done;
            next->iov_len -= done;
        }
    }
    return 0;
}

Text ExecutablePath()
{
    // The kernel's own record of the executable, with symlinks resolved;
    // readlink fills at most the buffer, which is all that is kept anyway.
    char path[255];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    Text result;
    if (length > 0)
        result.Assign(path, static_cast<std::size_t>(length));
    return result;
}

void Exit(int code)
{
    ::_exit(code);
}

} // namespace System
