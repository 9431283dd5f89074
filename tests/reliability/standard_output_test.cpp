// standard_output_test.cpp - what web servers do to a CGI program's standard
// output: go away, close it, read it slowly through a non-blocking pipe; and
// the BBS cutting callers.dat while a long page is on its way.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "expected_page.h"
#include "page_shape.h"
#include "program_sandbox.h"
#include "run_program.h"
#include "sample_board.h"

namespace Reliability {
namespace {

using namespace PageFixture;
namespace fs = std::filesystem;

// Enough records that a page overfills any pipe many times.
constexpr int LongPage = 2000;

// A pipe, a connected pair of Unix stream sockets (some web servers hand a
// CGI program a socket) or a TCP connection over loopback (which takes part
// of a write when its buffer is nearly full): what the program writes to
// Write() arrives at Read().
class Pipe {
public:
    enum class Kind { Pipe, Socket, Loopback };

    // A size of 0 keeps the system's; a small one fills after a few rows.
    explicit Pipe(int size = 0, Kind kind = Kind::Pipe)
    {
        int fds[2];
        bool made = false;
        switch (kind) {
        case Kind::Pipe:
            made = ::pipe2(fds, O_CLOEXEC) == 0;
            break;
        case Kind::Socket:
            made = ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0;
            break;
        case Kind::Loopback:
            made = ConnectOverLoopback(fds);
            break;
        }
        if (!made)
            throw std::runtime_error("cannot make a pipe");
        read_ = fds[0];
        write_ = fds[1];
        if (size > 0 && kind == Kind::Pipe)
            ::fcntl(write_, F_SETPIPE_SZ, size);
        if (size > 0 && kind != Kind::Pipe) {
            ::setsockopt(write_, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
            // A TCP receiver with a little more room than the sender keeps
            // the sender's buffer filling up in the middle of writes.
            int receive = kind == Kind::Loopback ? 2 * size : size;
            ::setsockopt(read_, SOL_SOCKET, SO_RCVBUF, &receive, sizeof receive);
        }
    }
    ~Pipe()
    {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int Read() const { return read_; }
    int Write() const { return write_; }
    void CloseRead() { Close(read_); }
    void CloseWrite() { Close(write_); }

private:
    static void Close(int& fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    // fds[0] the accepted end, fds[1] the connecting one, on 127.0.0.1.
    static bool ConnectOverLoopback(int fds[2])
    {
        int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bool ready = listener >= 0 && ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
            && ::listen(listener, 1) == 0
            && ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        fds[1] = ready ? ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;
        ready = ready && fds[1] >= 0
            && ::connect(fds[1], reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        fds[0] = ready ? ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
        if (listener >= 0)
            ::close(listener);
        return fds[0] >= 0;
    }

    int read_ = -1;
    int write_ = -1;
};

struct Channel {
    const char* name;
    Pipe::Kind kind;
};
const Channel Channels[] = {
    {"pipe", Pipe::Kind::Pipe},
    {"Unix socket", Pipe::Kind::Socket},
    {"TCP over loopback", Pipe::Kind::Loopback},
};

struct ReadPolicy {
    std::size_t chunk = 65536;
    std::chrono::microseconds pause{0};
    // Called once when this many bytes have arrived.
    std::size_t trigger = std::string::npos;
    std::function<void()> atTrigger;
};

// Reads to the end of the pipe, which comes when every write end is closed.
std::string ReadToEnd(int fd, const ReadPolicy& policy)
{
    std::string got;
    std::string buffer(policy.chunk, '\0');
    bool triggered = false;
    for (;;) {
        ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return got;
        got.append(buffer.data(), static_cast<std::size_t>(count));
        if (!triggered && got.size() >= policy.trigger && policy.atTrigger) {
            triggered = true;
            policy.atTrigger();
        }
        if (policy.pause.count() > 0)
            std::this_thread::sleep_for(policy.pause);
    }
}

// Runs the program with its stdout on the pipe's write end while another
// thread reads the other end; returns the run and what arrived.
RunResult RunIntoPipe(const ProgramSandbox& sandbox, Pipe& pipe, const ReadPolicy& policy, std::string& arrived)
{
    std::thread reader([&] { arrived = ReadToEnd(pipe.Read(), policy); });
    RunOptions options;
    options.standardOutputTarget = StreamTarget::To(pipe.Write());
    options.timeLimit = std::chrono::seconds(20);
    RunResult result = sandbox.Run(options);
    pipe.CloseWrite();
    reader.join();
    return result;
}

void InstallLongBoard(const ProgramSandbox& sandbox)
{
    // The node page is long with many nodes: 254 of them, limit 255.
    InstallSampleBoard(sandbox, LongPage, &sandbox.Program() == &Quandelo ? 254 : 4);
}

// SIGPIPE would kill a program whose reader has gone; it must notice the
// broken pipe instead, stop writing and exit 0.
TEST(StandardOutput, ReaderGoneBeforeTheFirstWrite)
{
    for (const Channel& channel : Channels) {
        for (const BuiltProgram* program : AllPrograms) {
            SCOPED_TRACE(std::string(channel.name) + ", " + program->name);
            ProgramSandbox sandbox(*program);
            InstallLongBoard(sandbox);
            Pipe pipe(0, channel.kind);
            pipe.CloseRead();
            RunOptions options;
            options.standardOutputTarget = StreamTarget::To(pipe.Write());
            RunResult result = sandbox.Run(options);
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
        }
    }
}

TEST(StandardOutput, ReaderGoneInTheMiddleOfALongPage)
{
    for (const BuiltProgram* program : AllPrograms) {
        SCOPED_TRACE(program->name);
        ProgramSandbox sandbox(*program);
        InstallLongBoard(sandbox);
        Pipe pipe(4096);
        std::thread reader([&] {
            // Takes a little, then hangs up like a client that left.
            char buffer[4096];
            std::size_t got = 0;
            while (got < sizeof buffer) {
                ssize_t count = ::read(pipe.Read(), buffer, sizeof buffer - got);
                if (count <= 0)
                    break;
                got += static_cast<std::size_t>(count);
            }
            pipe.CloseRead();
        });
        RunOptions options;
        options.standardOutputTarget = StreamTarget::To(pipe.Write());
        RunResult result = sandbox.Run(options);
        pipe.CloseWrite();
        reader.join();
        EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
        EXPECT_EQ(result.standardError, "");
    }
}

// With descriptor 1 closed, the first file the program opens takes its
// number: opened read-only, no page byte can land in it.
TEST(StandardOutput, ClosedStandardStreams)
{
    struct Case {
        const char* name;
        bool closeInput;
        bool closeError;
    };
    const Case cases[] = {
        {"standard output closed", false, false},
        {"standard output and error closed", false, true},
        {"all three closed", true, true},
    };
    for (const Case& c : cases) {
        for (const BuiltProgram* program : AllPrograms) {
            SCOPED_TRACE(std::string(c.name) + ", " + program->name);
            ProgramSandbox sandbox(*program);
            InstallSampleBoard(sandbox, 50);
            const std::string before = ReadFile(sandbox.Directory() / FirstDataFile(*program));
            const std::string configBefore = ReadFile(sandbox.Directory() / program->configFileName);
            RunOptions options;
            options.standardOutputTarget = StreamTarget::Closing();
            if (c.closeInput)
                options.standardInputTarget = StreamTarget::Closing();
            if (c.closeError)
                options.standardErrorTarget = StreamTarget::Closing();
            RunResult result = sandbox.Run(options);
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
            EXPECT_EQ(ReadFile(sandbox.Directory() / FirstDataFile(*program)), before);
            EXPECT_EQ(ReadFile(sandbox.Directory() / program->configFileName), configBefore);
        }
    }
}

// A non-blocking pipe that is full answers EAGAIN; the program must wait
// for room, not give up, so the whole page arrives. A TCP connection with
// little room also takes part of a write, which must be completed.
TEST(StandardOutput, NonBlockingOutputWithASlowReaderGetsTheWholePage)
{
    for (const BuiltProgram* program : AllPrograms) {
        ProgramSandbox sandbox(*program);
        InstallLongBoard(sandbox);
        const RunResult normal = sandbox.Run();
        ASSERT_TRUE(normal.ExitedWith(0)) << Describe(normal);
        ASSERT_TRUE(ExaminePage(*program, BoardName, normal.standardOutput).complete);

        for (const Channel& channel : Channels) {
            SCOPED_TRACE(std::string(channel.name) + ", " + program->name);
            Pipe pipe(4096, channel.kind);
            ASSERT_EQ(::fcntl(pipe.Write(), F_SETFL, O_NONBLOCK), 0);
            ReadPolicy slow;
            slow.chunk = 2048;
            slow.pause = std::chrono::microseconds(50);
            std::string arrived;
            RunResult result = RunIntoPipe(sandbox, pipe, slow, arrived);
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
            EXPECT_EQ(arrived.size(), normal.standardOutput.size());
            EXPECT_TRUE(arrived == normal.standardOutput);
        }
    }
}

// The BBS cuts callers.dat (or oneliner.dat) while the program is held up
// writing a long page: the loop must notice the file has ended below its
// position, and the page ends with its footer.
TEST(StandardOutput, DataFileCutWhileALongPageIsRead)
{
    struct Case {
        const char* name;
        std::size_t records; // whole records kept
        std::size_t part;    // bytes of one more
    };
    const Case cases[] = {
        {"cut to nothing", 0, 0},
        {"cut to ten records and a part", 10, 50},
    };
    for (const Case& c : cases) {
        for (const BuiltProgram* program : {&Tembrix, &Morvane}) {
            SCOPED_TRACE(std::string(c.name) + ", " + program->name);
            ProgramSandbox sandbox(*program);
            InstallLongBoard(sandbox);
            const fs::path dataFile = sandbox.Directory() / FirstDataFile(*program);
            const std::size_t recordSize = program == &Tembrix ? 279 : 111;
            const std::uintmax_t newSize = c.records * recordSize + c.part;

            Pipe pipe(4096);
            ReadPolicy policy;
            policy.chunk = 1024;
            policy.trigger = 16384;
            policy.atTrigger = [&] { fs::resize_file(dataFile, newSize); };
            std::string arrived;
            RunResult result = RunIntoPipe(sandbox, pipe, policy, arrived);
            EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
            EXPECT_EQ(result.standardError, "");
            // The page ends with its footer when the cut comes while a row
            // is being written, and after a whole row, without it, when the
            // cut falls between the size query and the read: both are the
            // end of a well-formed page, never the whole long one.
            PageShape shape = ExaminePage(*program, BoardName, arrived);
            EXPECT_EQ(shape.problem, "");
            EXPECT_GT(shape.rows, 0u);
            EXPECT_LT(shape.rows, static_cast<std::size_t>(LongPage));
        }
    }
}

} // namespace
} // namespace Reliability
