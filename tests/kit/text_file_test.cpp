// text_file_test.cpp - text files read line by line.
#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include "io.h"
#include "kit_test_support.h"

namespace {

class TextFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TakeIoError(), 0); }
    void TearDown() override { TakeIoError(); }

    ScratchDirectory scratch;
};

TEST_F(TextFileTest, LineEndsCutsAndControlZ)
{
    const std::string line254(254, 'a');
    const std::string line255(255, 'b');
    std::string line300;
    for (int i = 0; i < 300; ++i)
        line300 += static_cast<char>('a' + i % 26);
    const std::string hundredA(100, 'A');
    const std::string hundredB(100, 'B');
    const std::string hundredC(100, 'C');

    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines; // then the empty text for ever
    };
    const Case cases[] = {
        {"CR LF", "name\r\npath\r\n", {"name", "path"}},
        {"lone LF", "name\npath\n", {"name", "path"}},
        {"last line without an end", "name\r\npath", {"name", "path"}},
        {"CR inside a line is dropped", "ab\rcd\n", {"abcd"}},
        {"CR-only file reads as one line", "one\rtwo\rthree\r", {"onetwothree"}},
        {"CR-only file cut at 255 bytes, CRs counted", hundredA + "\r" + hundredB + "\r" + hundredC + "\r\nnext",
            {hundredA + hundredB + hundredC.substr(0, 53), "next"}},
        {"empty lines", "\r\n\nx\r\n", {"", "", "x"}},
        {"LF then CR", "a\n\rb\n", {"a", "b"}},
        {"254 characters", line254 + "\r\nnext\r\n", {line254, "next"}},
        {"255 characters", line255 + "\r\nnext\r\n", {line255, "next"}},
        {"255 characters and a lone LF", line255 + "\nnext", {line255, "next"}},
        {"255 characters and a lone CR", line255 + "\rnext", {line255, "next"}},
        {"a second CR after a full line ends an empty line", line255 + "\r\r\nnext", {line255, "", "next"}},
        {"300 characters", line300 + "\r\nnext\r\n", {line300.substr(0, 255), "next"}},
        {"300 characters at the end of the file", "first\n" + line300, {"first", line300.substr(0, 255)}},
        {"CR LF split over two buffer loads", std::string(127, 'x') + "\r\nnext", {std::string(127, 'x'), "next"}},
        {"Ctrl-Z starts the second line", "first\r\n\x1Asecond\r\nthird\r\n", {"first"}},
        {"Ctrl-Z inside a line", "ab\x1A" "cd\r\nnext\r\n", {"ab"}},
        {"Ctrl-Z in the skipped rest of a long line", line300 + "\x1A\r\nnext", {line300.substr(0, 255)}},
        {"NUL and high bytes kept", std::string("a\0b\xFF\x7F\n", 6), {std::string("a\0b\xFF\x7F", 5)}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextFile file;
        OpenTextFile(file, FromStd(scratch.Write("lines.txt", c.bytes)));
        ASSERT_EQ(TakeIoError(), 0);
        for (const std::string& expected : c.lines)
            EXPECT_EQ(ToStd(ReadLine(file)), expected);
        for (int after = 0; after < 3; ++after)
            EXPECT_EQ(ToStd(ReadLine(file)), "") << "call " << after << " after the last line";
        EXPECT_EQ(TakeIoError(), 0);
        CloseFile(file);
        EXPECT_EQ(TakeIoError(), 0);
    }
}

TEST_F(TextFileTest, MissingFileSetsTheErrorOnce)
{
    TextFile file;
    OpenTextFile(file, FromStd(scratch.PathOf("missing.cfg")));
    EXPECT_EQ(TakeIoError(), ENOENT);
    EXPECT_EQ(TakeIoError(), 0);
    EXPECT_EQ(file.state, FileState::Closed);
    EXPECT_EQ(ToStd(ReadLine(file)), "");
    EXPECT_EQ(TakeIoError(), FileNotOpenForReading);
}

TEST_F(TextFileTest, ReadingAClosedFileSets104)
{
    TextFile file;
    OpenTextFile(file, FromStd(scratch.Write("two.txt", "one\ntwo\n")));
    EXPECT_EQ(ToStd(ReadLine(file)), "one");
    CloseFile(file);
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_EQ(ToStd(ReadLine(file)), "");
    EXPECT_EQ(TakeIoError(), FileNotOpenForReading);
    CloseFile(file);
    EXPECT_EQ(TakeIoError(), FileNotOpen);
}

TEST_F(TextFileTest, AFailingReadSetsTheSystemsCode)
{
    // A descriptor that cannot be read stands for a file system that fails.
    TextFile file;
    OpenTextFile(file, FromStd(scratch.Write("any.txt", "text\n")));
    ASSERT_EQ(TakeIoError(), 0);
    ::close(static_cast<int>(file.handle));
    file.handle = ::open(scratch.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(file.handle, 0);
    EXPECT_EQ(ToStd(ReadLine(file)), "");
    EXPECT_EQ(TakeIoError(), EISDIR);
    CloseFile(file);
    EXPECT_EQ(TakeIoError(), 0);
}

} // namespace
