// record_file_test.cpp - files of fixed-size records as the BBS keeps them.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "io.h"
#include "kit_test_support.h"

namespace {

constexpr std::size_t RecordSize = 8;

std::string Record(char fill)
{
    return std::string(RecordSize, fill);
}

std::string BufferText(const unsigned char (&buffer)[RecordSize])
{
    return std::string(reinterpret_cast<const char*>(buffer), RecordSize);
}

class RecordFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TakeIoError(), 0); }
    void TearDown() override { TakeIoError(); }

    std::string Write(const std::string& bytes) const { return scratch.Write("records.dat", bytes); }

    ScratchDirectory scratch;
    unsigned char buffer[RecordSize] = {'z', 'z', 'z', 'z', 'z', 'z', 'z', 'z'};
};

TEST_F(RecordFileTest, WholeRecordsInFileOrder)
{
    RecordFile file;
    OpenRecordFile(file, FromStd(Write(Record('a') + Record('b') + Record('c'))), RecordSize);
    ASSERT_EQ(TakeIoError(), 0);
    std::string seen;
    for (int guard = 0; guard < 10 && !AtEndOfFile(file); ++guard) {
        ReadRecord(file, buffer);
        seen += BufferText(buffer);
    }
    EXPECT_EQ(seen, Record('a') + Record('b') + Record('c'));
    EXPECT_EQ(TakeIoError(), 0);
    CloseFile(file);
    EXPECT_EQ(TakeIoError(), 0);
}

TEST_F(RecordFileTest, OneAndAHalfRecords)
{
    const std::string first = "ABCDEFGH";
    RecordFile file;
    OpenRecordFile(file, FromStd(Write(first + "abcd")), RecordSize);
    ASSERT_EQ(TakeIoError(), 0);

    EXPECT_FALSE(AtEndOfFile(file));
    ReadRecord(file, buffer);
    EXPECT_EQ(BufferText(buffer), first);
    EXPECT_EQ(TakeIoError(), 0);

    EXPECT_FALSE(AtEndOfFile(file));
    ReadRecord(file, buffer);
    EXPECT_EQ(TakeIoError(), ShortRecordRead);
    EXPECT_EQ(BufferText(buffer), "abcdEFGH");
    EXPECT_TRUE(AtEndOfFile(file));
    EXPECT_EQ(TakeIoError(), 0);
}

TEST_F(RecordFileTest, EmptyFileIsAtItsEndAtOnce)
{
    RecordFile file;
    OpenRecordFile(file, FromStd(Write("")), RecordSize);
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_TRUE(AtEndOfFile(file));
    ReadRecord(file, buffer);
    EXPECT_EQ(TakeIoError(), ShortRecordRead);
    EXPECT_EQ(BufferText(buffer), Record('z'));
    EXPECT_TRUE(AtEndOfFile(file));
}

TEST_F(RecordFileTest, RecordsAppendedWhileReadingAreRead)
{
    std::string path = Write(Record('a'));
    RecordFile file;
    OpenRecordFile(file, FromStd(path), RecordSize);
    ReadRecord(file, buffer);
    EXPECT_TRUE(AtEndOfFile(file));
    scratch.Write("records.dat", Record('a') + Record('b'));
    EXPECT_FALSE(AtEndOfFile(file));
    ReadRecord(file, buffer);
    EXPECT_EQ(BufferText(buffer), Record('b'));
    EXPECT_TRUE(AtEndOfFile(file));
    EXPECT_EQ(TakeIoError(), 0);
}

TEST_F(RecordFileTest, FileTruncatedUnderTheReaderEnds)
{
    struct Case {
        const char* name;
        std::uintmax_t truncatedTo;
    };
    const Case cases[] = {
        {"to nothing", 0},
        {"inside the record just read", RecordSize + 3},
        {"to the position exactly", 2 * RecordSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Write(Record('a') + Record('b') + Record('c') + Record('d'));
        RecordFile file;
        OpenRecordFile(file, FromStd(path), RecordSize);
        ReadRecord(file, buffer);
        ReadRecord(file, buffer);
        ASSERT_FALSE(AtEndOfFile(file));
        std::filesystem::resize_file(path, c.truncatedTo);
        EXPECT_TRUE(AtEndOfFile(file));
        EXPECT_EQ(TakeIoError(), 0);
        CloseFile(file);
    }
}

TEST_F(RecordFileTest, FileThisAccountMayNotWriteIsOpened)
{
    // Root may write anything, so the open is tried by an account that may
    // not, as a web server's account would.
    ASSERT_EQ(::chmod(scratch.Path().c_str(), 0755), 0);
    struct Case {
        const char* name;
        mode_t mode;
    };
    const Case cases[] = {
        {"read-only", 0444},
        {"writable by its owner only", 0644},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Write(Record('r'));
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        ChildResult child = RunInChild([&path] {
            const bool root = ::geteuid() == 0;
            if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return 2;
            if (root && ::access(path.c_str(), W_OK) == 0)
                return 3;
            RecordFile file;
            OpenRecordFile(file, FromStd(path), RecordSize);
            if (TakeIoError() != 0)
                return 4;
            unsigned char record[RecordSize] = {};
            ReadRecord(file, record);
            CloseFile(file);
            return TakeIoError() == 0 && BufferText(record) == Record('r') ? 0 : 5;
        });
        EXPECT_TRUE(child.exited);
        EXPECT_EQ(child.exitCode, 0);
        ::unlink(path.c_str());
    }
}

TEST_F(RecordFileTest, NotOpenSets103AndEndsTheLoop)
{
    RecordFile file;
    EXPECT_TRUE(AtEndOfFile(file));
    EXPECT_EQ(TakeIoError(), FileNotOpen);
    ReadRecord(file, buffer);
    EXPECT_EQ(TakeIoError(), FileNotOpen);
    EXPECT_EQ(BufferText(buffer), Record('z'));
    CloseFile(file);
    EXPECT_EQ(TakeIoError(), FileNotOpen);

    OpenRecordFile(file, FromStd(Write(Record('a'))), RecordSize);
    CloseFile(file);
    ASSERT_EQ(TakeIoError(), 0);
    CloseFile(file);
    EXPECT_EQ(TakeIoError(), FileNotOpen);
    EXPECT_TRUE(AtEndOfFile(file));
    EXPECT_EQ(TakeIoError(), FileNotOpen);
}

TEST_F(RecordFileTest, FailingFileSystemSetsItsCodeAndEndsTheLoop)
{
    // A descriptor that cannot be read stands for a read that fails.
    RecordFile file;
    OpenRecordFile(file, FromStd(Write(Record('a') + Record('b'))), RecordSize);
    ASSERT_EQ(TakeIoError(), 0);
    ::close(static_cast<int>(file.handle));
    file.handle = ::open(scratch.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(file.handle, 0);
    ReadRecord(file, buffer);
    EXPECT_EQ(TakeIoError(), EISDIR);
    EXPECT_EQ(BufferText(buffer), Record('z'));
    EXPECT_TRUE(AtEndOfFile(file));
    CloseFile(file);
    EXPECT_EQ(TakeIoError(), 0);

    // And one whose size cannot be had.
    RecordFile lost;
    OpenRecordFile(lost, FromStd(Write(Record('a'))), RecordSize);
    ::close(static_cast<int>(lost.handle));
    EXPECT_TRUE(AtEndOfFile(lost));
    EXPECT_EQ(TakeIoError(), EBADF);
}

// Reading these would block, never end or show what is no BBS data; each
// open must fail at once. An alarm ends the test if an open hangs.
TEST_F(RecordFileTest, SpecialFilesCannotBeOpened)
{
    const std::string existing = Write(Record('a'));
    const std::string fifo = scratch.PathOf("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zeroLink = scratch.PathOf("zero");
    std::filesystem::create_symlink("/dev/zero", zeroLink);
    const std::string socketPath = scratch.PathOf("socket");
    int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listening, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing", scratch.PathOf("missing.dat")},
        {"directory", scratch.Path()},
        {"FIFO with no writer", fifo},
        {"device", "/dev/null"},
        {"symlink to /dev/zero", zeroLink},
        {"socket", socketPath},
        {"NUL byte after an existing name", existing + std::string("\0.other", 7)},
        {"empty path", ""},
    };
    ::alarm(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordFile records;
        OpenRecordFile(records, FromStd(c.path), RecordSize);
        EXPECT_NE(TakeIoError(), 0);
        EXPECT_FALSE(records.open);

        TextFile text;
        OpenTextFile(text, FromStd(c.path));
        EXPECT_NE(TakeIoError(), 0);
        EXPECT_EQ(text.state, FileState::Closed);
    }
    ::alarm(0);
    ::close(listening);

    RecordFile missing;
    OpenRecordFile(missing, FromStd(scratch.PathOf("missing.dat")), RecordSize);
    EXPECT_EQ(TakeIoError(), ENOENT);
}

} // namespace
