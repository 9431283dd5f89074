// fuzz_support.cpp - scratch files and captured standard output for the fuzzers.
#include "fuzz_support.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace FuzzSupport {

void Fail(const char* what, std::string_view detail)
{
    std::fprintf(stderr, "property failed: %s\n", what);
    if (!detail.empty()) {
        std::fprintf(stderr, "detail (%zu bytes): ", detail.size());
        for (char byte : detail) {
            auto c = static_cast<unsigned char>(byte);
            if (c >= 32 && c < 127 && c != '\\')
                std::fputc(c, stderr);
            else
                std::fprintf(stderr, "\\x%02x", c);
        }
        std::fputc('\n', stderr);
    }
    std::abort();
}

Text ToText(std::string_view bytes)
{
    Text text;
    text.Assign(bytes.data(), bytes.size());
    return text;
}

std::string FromText(const Text& text)
{
    return std::string(text.chars, text.length);
}

namespace {

class Scratch {
public:
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "bbs-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            Fail("cannot make the scratch directory", pattern);
        path_ = pattern;
        // The longest data file name is chat255.dat; the whole name must
        // stay within one text.
        if (path_.string().size() + 1 + 11 > 255)
            Fail("the temporary directory's path is too long", path_.string());
    }
    ~Scratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

const std::filesystem::path& ScratchDirectory()
{
    static Scratch scratch;
    return scratch.Path();
}

Text ScratchDataPath()
{
    return ToText(ScratchDirectory().string() + "/");
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    // Overwritten in place and then cut to size: ext4 flushes a file that
    // is truncated to nothing and written again, which would slow every run
    // down to the disk's pace.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        Fail("cannot open a scratch file", path.string());
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t count = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (count <= 0)
            Fail("cannot write a scratch file", path.string());
        done += static_cast<std::size_t>(count);
    }
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::close(fd) != 0)
        Fail("cannot write a scratch file", path.string());
}

static void CaptureStandardOutput()
{
    static bool done = false;
    if (done)
        return;
    int memory = ::memfd_create("captured-stdout", 0);
    if (memory < 0 || ::dup2(memory, STDOUT_FILENO) < 0)
        Fail("cannot capture standard output");
    ::close(memory);
    done = true;
}

void BeginCapture()
{
    CaptureStandardOutput();
    if (::ftruncate(STDOUT_FILENO, 0) != 0 || ::lseek(STDOUT_FILENO, 0, SEEK_SET) != 0)
        Fail("cannot empty the captured output");
}

std::string TakeCapture()
{
    off_t size = ::lseek(STDOUT_FILENO, 0, SEEK_CUR);
    if (size < 0)
        Fail("cannot measure the captured output");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t count = ::pread(STDOUT_FILENO, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
        if (count <= 0)
            Fail("cannot read the captured output");
        got += static_cast<std::size_t>(count);
    }
    return bytes;
}

} // namespace FuzzSupport
