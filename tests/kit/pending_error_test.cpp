// pending_error_test.cpp - what each operation does while an I/O error is
// pending, and which code it leaves behind.
#include <cerrno>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "io.h"
#include "kit_test_support.h"
#include "page.h"

namespace {

constexpr std::size_t RecordSize = 4;
constexpr std::int32_t Pending = EIO;

class PendingError : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TakeIoError(), 0); }
    void TearDown() override { TakeIoError(); }

    ScratchDirectory scratch;
};

TEST_F(PendingError, WritesAndLineReadsStopOtherOperationsWork)
{
    const Text lines = FromStd(scratch.Write("lines.txt", "first\nsecond\n"));
    const Text records = FromStd(scratch.Write("records.dat", "abcd"));
    const Text halfRecord = FromStd(scratch.Write("half.dat", "ab"));
    const Text missing = FromStd(scratch.PathOf("missing"));

    struct Case {
        const char* name;
        std::function<void()> operate;
        std::int32_t codeAfter;
    };
    const Case cases[] = {
        {"WriteText writes nothing", [] { WriteText("x"); }, Pending},
        {"WriteLine writes neither text nor CR LF", [] { WriteLine("x"); }, Pending},
        {"bare WriteLine writes nothing", [] { WriteLine(); }, Pending},
        {"a row writes nothing", [] { WriteLine(RowWrite().Markup("<td>").Field("x")); }, Pending},
        {"ReadLine reads nothing",
            [&] {
                TextFile file;
                OpenTextFile(file, lines);
                EXPECT_EQ(ToStd(ReadLine(file)), "");
                EXPECT_EQ(::lseek(static_cast<int>(file.handle), 0, SEEK_CUR), 0);
                CloseFile(file);
            },
            Pending},
        {"OpenTextFile opens",
            [&] {
                TextFile file;
                OpenTextFile(file, lines);
                EXPECT_EQ(file.state, FileState::Reading);
                CloseFile(file);
                EXPECT_EQ(file.state, FileState::Closed);
            },
            Pending},
        {"OpenTextFile that fails puts its code in place",
            [&] {
                TextFile file;
                OpenTextFile(file, missing);
                EXPECT_EQ(file.state, FileState::Closed);
            },
            ENOENT},
        {"OpenRecordFile, AtEndOfFile, ReadRecord and CloseFile work",
            [&] {
                RecordFile file;
                OpenRecordFile(file, records, RecordSize);
                EXPECT_TRUE(file.open);
                EXPECT_FALSE(AtEndOfFile(file));
                unsigned char buffer[RecordSize] = {};
                ReadRecord(file, buffer);
                EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), RecordSize), "abcd");
                EXPECT_TRUE(AtEndOfFile(file));
                CloseFile(file);
                EXPECT_FALSE(file.open);
            },
            Pending},
        {"OpenRecordFile that fails puts its code in place",
            [&] {
                RecordFile file;
                OpenRecordFile(file, missing, RecordSize);
                EXPECT_FALSE(file.open);
            },
            ENOENT},
        {"short ReadRecord puts 100 in place",
            [&] {
                RecordFile file;
                OpenRecordFile(file, halfRecord, RecordSize);
                unsigned char buffer[RecordSize] = {'z', 'z', 'z', 'z'};
                ReadRecord(file, buffer);
                EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), RecordSize), "abzz");
                CloseFile(file);
            },
            ShortRecordRead},
        {"AtEndOfFile of a closed file puts 103 in place",
            [] {
                RecordFile file;
                EXPECT_TRUE(AtEndOfFile(file));
            },
            FileNotOpen},
        {"ReadRecord of a closed file puts 103 in place",
            [] {
                RecordFile file;
                unsigned char buffer[RecordSize] = {'z', 'z', 'z', 'z'};
                ReadRecord(file, buffer);
                EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), RecordSize), "zzzz");
            },
            FileNotOpen},
        {"CloseFile of a closed file puts 103 in place",
            [] {
                TextFile file;
                CloseFile(file);
            },
            FileNotOpen},
        {"TakeIoError returns the code and clears it", [] { EXPECT_EQ(TakeIoError(), Pending); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TakeIoError();
        SetIoError(Pending);
        CapturedOutput capture;
        c.operate();
        EXPECT_EQ(capture.Finish(), "");
        EXPECT_EQ(TakeIoError(), c.codeAfter);
    }
}

TEST_F(PendingError, FailedDataFileSilencesThePageUntilTaken)
{
    CapturedOutput capture;
    WriteText("header ");
    RecordFile file;
    OpenRecordFile(file, FromStd(scratch.PathOf("callers.dat")), RecordSize);
    WriteLine("row");
    // The loop over a file that failed to open ends at once.
    EXPECT_TRUE(AtEndOfFile(file));
    unsigned char buffer[RecordSize] = {'z', 'z', 'z', 'z'};
    ReadRecord(file, buffer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), RecordSize), "zzzz");
    WriteLine("footer");
    EXPECT_EQ(TakeIoError(), FileNotOpen);
    EXPECT_EQ(TakeIoError(), 0);
    WriteLine("again");
    EXPECT_EQ(capture.Finish(), "header again\r\n");
}

} // namespace
