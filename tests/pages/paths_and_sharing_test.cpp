// paths_and_sharing_test.cpp - where the programs and their data lie, and a BBS that holds its files open.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bbs_records.h"
#include "expected_page.h"
#include "file_held_open.h"
#include "page_case.h"
#include "program_sandbox.h"
#include "target_platform.h"

using namespace PageFixture;
namespace fs = std::filesystem;

namespace {

// One record that must show, and one that must not, for each program.
struct ProgramData {
    const BuiltProgram* program;
    std::string fileName;
    std::string shown;
    std::string decoy;
    std::string rows;
};

std::vector<ProgramData> Programs()
{
    return {
        {&Tembrix, "callers.dat", EncodeCaller({"Ann", "Oslo", "33600", 0, 1, 1}),
            EncodeCaller({"Decoy", "", "", 0, 1, 2}), CallerRow("1", "Ann", "Oslo", "33600", "1", "00/00/80")},
        {&Quandelo, "chat1.dat", EncodeNode({1, "Ann", "Chatting", "Oslo"}), EncodeNode({1, "Decoy", "", ""}),
            ActiveRow(1, "Ann", "Oslo", "Chatting")},
        {&Morvane, "oneliner.dat", EncodeOneliner({"hello", "Ann"}), EncodeOneliner({"decoy", "Decoy"}),
            OnelinerRow("Ann", "hello")},
    };
}

// "ä" in the OEM code page a DOS editor writes. Windows turns it into the
// ANSI "ä" before it opens the path, which Wine keeps as UTF-8 on disk;
// Linux uses the byte as it is.
std::string DataWithUmlaut(bool onDisk)
{
    std::string name = "d";
    name += onDisk && WindowsMode() ? "\xc3\xa4" : "\x84";
    name += "ta";
    return name;
}

} // namespace

TEST(PathsAndSharing, DataFoundWhereTheConfigurationSays)
{
    struct Case {
        const char* name;
        std::string programDirectory; // under the case's directory
        std::string dataDirectory;    // as the configuration names it
        std::string dataDirectoryOnDisk;
        bool separatorAfterDataPath;
        bool heldOpenForWriting;
        // The data file's name leads to a device: NUL on Windows, where a
        // name starting "NUL." is that device; a link to /dev/null on Linux.
        bool device = false;
    };
    const Case cases[] = {
        {"DataPath ending in the separator", "cgi", "data", "data", true, false},
        {"DataPath without a trailing separator: run together with the file name", "cgi", "data", "data", false,
            false},
        {"configuration beside an executable in a directory whose path has spaces", "web site/cgi bin", "BBS data",
            "BBS data", true, false},
        {"a DataPath in the OEM code page", "cgi", DataWithUmlaut(false), DataWithUmlaut(true), true, false},
        {"the data file held open for writing by another process", "cgi", "data", "data", true, true},
        {"a device in the data file's place is no data file", "cgi", "NUL.", "NUL.", false, false, true},
    };
    for (const ProgramData& data : Programs()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(data.program->name) + ": " + c.name);
            TemporaryDirectory base;
            fs::path programDirectory = base / c.programDirectory;
            fs::create_directories(programDirectory);
            fs::path executable = InstallProgram(*data.program, programDirectory);

            // Without the separator the data file's name runs on from the
            // directory's: "datacallers.dat" beside "data". The file inside
            // the directory is a decoy that must not show.
            fs::path dataDirectory = base / c.dataDirectoryOnDisk;
            fs::create_directories(dataDirectory);
            std::string dataPath = TargetPath(base.Path()) + TargetSeparator() + c.dataDirectory;
            fs::path dataFile = dataDirectory / data.fileName;
            if (c.separatorAfterDataPath) {
                dataPath += TargetSeparator();
            } else {
                WriteFile(dataFile, data.decoy);
                dataFile = base / (c.dataDirectoryOnDisk + data.fileName);
            }
            if (c.device)
                fs::create_symlink("/dev/null", dataFile);
            else
                WriteFile(dataFile, data.shown);

            std::vector<std::string> config = {TestBoard, dataPath};
            if (data.program == &Quandelo)
                config.push_back("2");
            WriteFile(programDirectory / data.program->configFileName, ConfigText(config));

            std::optional<FileHeldOpen> holder;
            if (c.heldOpenForWriting) {
                holder.emplace(dataFile);
                ASSERT_TRUE(holder->Holding()) << holder->Failure();
            }
            // A data file that cannot be opened silences the page from
            // there on: before the header, except on the node page.
            std::string expected = !c.device ? WholePage(*data.program, TestBoard, data.rows)
                : data.program == &Quandelo  ? PageHeader(Quandelo, TestBoard)
                                             : "";
            ExpectResponse(RunOnTarget(executable, {}), expected);
        }
    }
}
