// read_only_data_test.cpp - data files the web server's account may read but
// not write are shown normally; files it may not read are not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bbs_records.h"
#include "expected_page.h"
#include "page_case.h"
#include "program_sandbox.h"
#include "target_platform.h"

using namespace PageFixture;
namespace fs = std::filesystem;

namespace {

// The account web servers commonly run CGI programs under.
constexpr unsigned Nobody = 65534;

struct ProgramData {
    const BuiltProgram* program;
    std::string fileName;
    std::string bytes;
    std::string rows;
};

} // namespace

TEST(ReadOnlyData, ShownWhenReadableWithoutWriteAccess)
{
    SKIP_IN_WINDOWS_MODE("Wine runs only as the owner of its prefix, who may write these files");
    // Root may write any file, so a root test would pass even with a
    // read-write open; the child runs as an ordinary account instead.
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* name;
        fs::perms mode;
        bool needsRoot; // a file of another owner
        bool shown;
    };
    const Case cases[] = {
        {"mode 0444", fs::perms(0444), false, true},
        {"another owner's file, mode 0644", fs::perms(0644), true, true},
        {"another owner's file, mode 0600: not readable", fs::perms(0600), true, false},
    };
    const ProgramData programs[] = {
        {&Tembrix, "callers.dat", EncodeCaller({"Ann", "Oslo", "33600", 0, 1, 1}),
            CallerRow("1", "Ann", "Oslo", "33600", "1", "00/00/80")},
        {&Quandelo, "chat1.dat", EncodeNode({1, "Ann", "Chatting", "Oslo"}), ActiveRow(1, "Ann", "Oslo", "Chatting")},
        {&Morvane, "oneliner.dat", EncodeOneliner({"hello", "Ann"}), OnelinerRow("Ann", "hello")},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && !root)
            continue;
        for (const ProgramData& data : programs) {
            SCOPED_TRACE(std::string(data.program->name) + ": " + c.name);
            ProgramSandbox sandbox(*data.program);
            sandbox.WriteConfig({TestBoard, sandbox.DataPrefix(), "2"});
            sandbox.WriteData(data.fileName, data.bytes);
            fs::permissions(sandbox.Directory() / data.fileName, c.mode);

            RunOptions options;
            if (root) {
                fs::permissions(sandbox.Directory(), fs::perms(0755));
                options.userId = Nobody;
                options.groupId = Nobody;
            }
            // An unreadable file silences the page from where it is opened:
            // before the header for two programs, after it for the node page.
            std::string expected = c.shown ? WholePage(*data.program, TestBoard, data.rows)
                : data.program == &Quandelo ? PageHeader(Quandelo, TestBoard)
                                            : "";
            ExpectResponse(sandbox.Run(options), expected);
        }
    }
}
