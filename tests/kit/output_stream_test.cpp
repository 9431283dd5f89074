// output_stream_test.cpp - the write-through output stream on standard
// output, and the end of the program.
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include "io.h"
#include "kit_test_support.h"

namespace {

class OutputStream : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TakeIoError(), 0); }
    void TearDown() override { TakeIoError(); }
};

TEST_F(OutputStream, WritesBytesUnchangedAndEndsLinesWithCrLf)
{
    std::string everyByte;
    for (int i = 0; i < 256; ++i)
        everyByte += static_cast<char>(i);

    struct Case {
        const char* name;
        void (*write)(const std::string&);
        std::string text;
        std::string expected;
    };
    auto text = [](const std::string& bytes) { WriteText(FromStd(bytes)); };
    auto line = [](const std::string& bytes) { WriteLine(FromStd(bytes)); };
    auto bareLine = [](const std::string&) { WriteLine(); };
    const Case cases[] = {
        {"text ends no line", text, "abc", "abc"},
        {"line adds CR LF", line, "abc", "abc\r\n"},
        {"bare line is CR LF alone", bareLine, "", "\r\n"},
        {"empty text writes nothing", text, "", ""},
        {"empty line", line, "", "\r\n"},
        {"NUL, 0xFF and line ends untranslated", text, std::string("a\0\xFF\n\r\x1A", 6),
            std::string("a\0\xFF\n\r\x1A", 6)},
        {"bytes 0 to 254 in one text", text, everyByte.substr(0, 255), everyByte.substr(0, 255)},
        {"a full text and CR LF", line, std::string(255, 'x'), std::string(255, 'x') + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CapturedOutput capture;
        c.write(c.text);
        EXPECT_EQ(capture.Finish(), c.expected);
        EXPECT_EQ(TakeIoError(), 0);
    }
}

TEST_F(OutputStream, EachCallReachesStandardOutputBeforeItReturns)
{
    CapturedOutput capture;
    WriteText("first");
    // Read the file behind standard output while the stream is still in use.
    char seen[16] = {};
    ssize_t got = ::pread(STDOUT_FILENO, seen, sizeof seen, 0);
    WriteLine("second");
    std::string written = capture.Finish();
    EXPECT_EQ(std::string(seen, got > 0 ? static_cast<std::size_t>(got) : 0), "first");
    EXPECT_EQ(written, "firstsecond\r\n");
}

TEST_F(OutputStream, ClosedStreamSets105AndWritesNothing)
{
    CapturedOutput capture;
    WriteText("before");
    CloseFile(Output);
    EXPECT_EQ(TakeIoError(), 0);
    WriteText("after");
    EXPECT_EQ(TakeIoError(), FileNotOpenForWriting);
    WriteLine("after");
    EXPECT_EQ(TakeIoError(), FileNotOpenForWriting);
    ReadLine(Output);
    EXPECT_EQ(TakeIoError(), FileNotOpenForReading);
    EXPECT_EQ(capture.Finish(), "before");
}

TEST_F(OutputStream, ReaderGoneSetsTheErrorWithoutKillingTheProgram)
{
    ChildResult child = RunInChild([] {
        int broken[2];
        if (::pipe(broken) != 0)
            return 2;
        ::close(broken[0]);
        ::dup2(broken[1], STDOUT_FILENO);
        WriteLine("nobody reads this");
        if (TakeIoError() != EPIPE)
            return 3;
        WriteText("nor this");
        return TakeIoError() == EPIPE ? 0 : 4;
    });
    EXPECT_EQ(child.signal, 0);
    EXPECT_TRUE(child.exited);
    EXPECT_EQ(child.exitCode, 0);
}

TEST_F(OutputStream, FullNonBlockingPipeIsWaitedOn)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::fcntl(pipeEnds[1], F_SETFL, ::fcntl(pipeEnds[1], F_GETFL) | O_NONBLOCK), 0);

    // A slow reader: the pipe fills long before it starts.
    std::string received;
    std::thread reader([&received, readEnd = pipeEnds[0]] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        char piece[1000];
        for (ssize_t got; (got = ::read(readEnd, piece, sizeof piece)) > 0;) {
            received.append(piece, static_cast<std::size_t>(got));
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        ::close(readEnd);
    });

    std::string expected;
    std::string line(255, '.');
    {
        CapturedOutput capture; // puts standard output back afterwards
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        for (int i = 0; i < 1000; ++i) {
            line[0] = static_cast<char>('A' + i % 26);
            WriteLine(FromStd(line));
            expected += line + "\r\n";
        }
        capture.Finish();
    }
    EXPECT_EQ(TakeIoError(), 0);
    ::close(pipeEnds[1]);
    reader.join();
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
}

TEST(ExitProgram, PendingErrorLeavesNoTraceAndTheCodeStands)
{
    struct Case {
        const char* name;
        int code;
        std::int32_t pending;
    };
    const Case cases[] = {
        {"error pending, code 0", 0, ENOENT},
        {"nothing pending, code 0", 0, 0},
        {"another code passes through", 3, ShortRecordRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChildResult child = RunInChild([&c]() -> int {
            TakeIoError();
            WriteText("written");
            SetIoError(c.pending);
            WriteLine("held back");
            ExitProgram(c.code);
        });
        EXPECT_TRUE(child.exited);
        EXPECT_EQ(child.exitCode, c.code);
        EXPECT_EQ(child.standardOutput, c.pending == 0 ? "writtenheld back\r\n" : "written");
        EXPECT_EQ(child.standardError, "");
    }
}

} // namespace
