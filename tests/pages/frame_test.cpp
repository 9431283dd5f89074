// frame_test.cpp - each program's configuration and page frame, run end to end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "bbs_records.h"
#include "expected_page.h"
#include "page_case.h"
#include "program_sandbox.h"
#include "target_platform.h"

using namespace PageFixture;
using namespace std::string_literals;

namespace {

void WriteFiles(const ProgramSandbox& sandbox, const std::vector<DataFile>& files)
{
    for (const DataFile& file : files) {
        std::filesystem::create_directories((sandbox.Directory() / file.first).parent_path());
        sandbox.WriteData(file.first, file.second);
    }
}

// The frame with the least data, for a given configuration.
RunResult RunFrame(const ProgramSandbox& sandbox, const std::string& boardName)
{
    FrameData data = MinimalData(sandbox.Program());
    std::vector<std::string> lines = {boardName, sandbox.DataPrefix()};
    lines.insert(lines.end(), data.configAfterDataPath.begin(), data.configAfterDataPath.end());
    sandbox.WriteConfig(lines);
    WriteFiles(sandbox, data.files);
    return sandbox.Run();
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find(LineEnd); end != std::string::npos; end = text.find(LineEnd, start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + LineEnd.size();
    }
    return lines;
}

} // namespace

TEST(MissingConfig, AnswersWithAnErrorStatusAndTheMessageOnly)
{
    struct Case {
        const char* name;
        void (*setUp)(const ProgramSandbox&);
        const char* notUnderWine = nullptr;
    };
    const Case cases[] = {
        {"no file at all", [](const ProgramSandbox&) {}},
        {"a directory in its place",
            [](const ProgramSandbox& sandbox) {
                std::filesystem::create_directory(sandbox.Directory() / sandbox.Program().configFileName);
            }},
        {"a FIFO in its place, which must not block",
            [](const ProgramSandbox& sandbox) {
                ASSERT_EQ(::mkfifo((sandbox.Directory() / sandbox.Program().configFileName).c_str(), 0644), 0);
            }},
        {"only the name in upper case",
            [](const ProgramSandbox& sandbox) {
                std::string upper = sandbox.Program().configFileName;
                for (char& c : upper)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                sandbox.WriteData(upper, "Board\r\n" + sandbox.DataPrefix() + "\r\n2\r\n");
            },
            "Windows file names ignore case, so there this is the configuration"},
        {"only in the current directory",
            [](const ProgramSandbox& sandbox) {
                std::filesystem::create_directory(sandbox.Directory() / "cwd");
                sandbox.WriteData("cwd/"s + sandbox.Program().configFileName, "Board\r\n\r\n2\r\n");
            }},
    };
    for (const BuiltProgram* program : AllPrograms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(program->name) + ": " + c.name);
            if (SkippedUnderWine(std::string(program->name) + ": " + c.name, c.notUnderWine))
                continue;
            ProgramSandbox sandbox(*program);
            c.setUp(sandbox);
            RunOptions options;
            options.workingDirectory = sandbox.Directory() / "cwd";
            if (!std::filesystem::exists(options.workingDirectory))
                options.workingDirectory.clear();
            ExpectResponse(sandbox.Run(options), MissingConfigResponse(*program));
        }
    }
}

TEST(PageFrame, HeaderAndFooterAroundTheLeastData)
{
    for (const BuiltProgram* program : AllPrograms) {
        SCOPED_TRACE(program->name);
        ProgramSandbox sandbox(*program);
        ExpectResponse(RunFrame(sandbox, "Test Board"), WholePage(*program, "Test Board", MinimalData(*program).rows));
    }
}

TEST(PageFrame, TitleRowIsCutAfterItsCharacter255)
{
    struct Case {
        const BuiltProgram* program;
        std::size_t boardNameLength;
        std::size_t titleRowLength;
        std::string titleRowEnd;
    };
    const Case cases[] = {
        {&Tembrix, 0, 71, "<TR><TD colspan=6><center><b> Last Caller 2 html</b></center></TR></TD>"},
        {&Tembrix, 184, 255, "</center></TR></TD>"},
        {&Tembrix, 185, 255, "</center></TR></TD"},
        {&Tembrix, 255, 255, "<b>" + NameOfLength(226)},
        {&Quandelo, 0, 87, " Mystic BBS WhoisOnline 2 html for </b></center></TR></TD>"},
        {&Quandelo, 168, 255, "</center></TR></TD>"},
        {&Quandelo, 169, 255, "</center></TR></TD"},
        {&Quandelo, 255, 255, "html for " + NameOfLength(191)},
        {&Morvane, 0, 79, "<TR><TD colspan=5><center><b> Mystic BBS Oneliner 2 html</b></center></TR></TD>"},
        {&Morvane, 176, 255, "</center></TR></TD>"},
        {&Morvane, 177, 255, "</center></TR></TD"},
        {&Morvane, 255, 255, "<b>" + NameOfLength(226)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program->name) + " with a name of " + std::to_string(c.boardNameLength));
        ProgramSandbox sandbox(*c.program);
        std::string boardName = NameOfLength(c.boardNameLength);
        RunResult result = RunFrame(sandbox, boardName);
        ExpectResponse(result, WholePage(*c.program, boardName, MinimalData(*c.program).rows));

        // The title row on its own, so that the cut is checked apart from
        // the expected page's own composition.
        std::vector<std::string> lines = SplitLines(result.standardOutput);
        ASSERT_GT(lines.size(), 15u);
        const std::string& titleRow = lines[15];
        EXPECT_EQ(titleRow.size(), c.titleRowLength);
        const std::string& end = c.titleRowEnd;
        ASSERT_GE(titleRow.size(), end.size());
        EXPECT_EQ(titleRow.substr(titleRow.size() - end.size()), end);
    }
}

TEST(Configuration, ValuesAreTheLinesAsStored)
{
    const std::string record = EncodeCaller({"Ann", "Oslo", "33600", PackDateTime(2003, 11, 1), 1, 42});
    const DataFile callers = {"callers.dat", record};
    const std::string recordRow = CallerRow("42", "Ann", "Oslo", "33600", "1", "11/01/03");
    const DataFile emptyWall = {"oneliner.dat", ""};
    struct Case {
        const char* name = "";
        const BuiltProgram* program = &Tembrix;
        std::string config = {}; // "{dir}" stands for the case's directory
        std::vector<DataFile> files = {};
        std::string boardName = {}; // as the title row must show it
        std::string rows = {};
        bool inDirectory = false; // run with the case's directory as the current one
        bool header = true;
        bool footer = true;
    };
    const std::string longLine = NameOfLength(300);
    const Case cases[] = {
        {.name = "CR LF line ends", .config = "Board\r\n{dir}/\r\n", .files = {callers}, .boardName = "Board",
            .rows = recordRow},
        {.name = "LF line ends", .config = "Board\n{dir}/\n", .files = {callers}, .boardName = "Board",
            .rows = recordRow},
        {.name = "no line end after the last line", .config = "Board\r\n{dir}/", .files = {callers},
            .boardName = "Board", .rows = recordRow},
        {.name = "CR-only line ends read as one line, DataPath empty",
            .config = "Board\r{dir}/\r",
            .files = {callers},
            .boardName = "Board{dir}/",
            .rows = recordRow,
            .inDirectory = true},
        {.name = "CR-only line ends, oneliners",
            .program = &Morvane,
            .config = "Board\r{dir}/\r",
            .files = {emptyWall},
            .boardName = "Board{dir}/",
            .inDirectory = true},
        {.name = "CR-only line ends, NodeLimit empty: nodes from 1 until one is missing",
            .program = &Quandelo,
            .config = "Board\r{dir}/\r2\r",
            .files = {{"chat1.dat", EncodeNode({})}},
            .boardName = "Board{dir}/2",
            .rows = WaitingRow(1),
            .inDirectory = true,
            .footer = false},
        {.name = "one line: DataPath empty, data from the current directory",
            .config = "Board\r\n",
            .files = {callers},
            .boardName = "Board",
            .rows = recordRow,
            .inDirectory = true},
        {.name = "an empty file: every value empty", .program = &Morvane, .files = {emptyWall}, .inDirectory = true},
        {.name = "two lines: NodeLimit empty",
            .program = &Quandelo,
            .config = "Board\r\n{dir}/\r\n",
            .files = {{"chat1.dat", EncodeNode({})}, {"chat2.dat", EncodeNode({})}},
            .boardName = "Board",
            .rows = WaitingRow(1) + WaitingRow(2),
            .footer = false},
        {.name = "leading and trailing spaces of BoardName kept",
            .program = &Morvane,
            .config = "  Board  \r\n{dir}/\r\n",
            .files = {emptyWall},
            .boardName = "  Board  "},
        {.name = "a trailing space of DataPath kept",
            .config = "Board\r\n{dir}/ \r\n",
            .files = {{" callers.dat", record}},
            .boardName = "Board",
            .rows = recordRow},
        {.name = "a leading space of DataPath kept",
            .config = "Board\r\n sub/\r\n",
            .files = {{" sub/callers.dat", record}},
            .boardName = "Board",
            .rows = recordRow,
            .inDirectory = true},
        {.name = "a line past 255 characters: its first 255, then the next line",
            .config = longLine + "\r\n{dir}/\r\n",
            .files = {callers},
            .boardName = longLine.substr(0, 255),
            .rows = recordRow},
        {.name = "markup and a NUL byte in BoardName written as stored",
            .program = &Quandelo,
            .config = "<i>Tom & \"Jerry\"</i>\0!\r\n{dir}/\r\n2\r\n"s,
            .files = {{"chat1.dat", EncodeNode({})}},
            .boardName = "<i>Tom & \"Jerry\"</i>\0!"s,
            .rows = WaitingRow(1)},
        {.name = "a NUL byte in DataPath: nothing opened, nothing written",
            .config = "Board\r\n{dir}/callers.dat\0\r\n"s,
            .files = {callers},
            .header = false,
            .footer = false},
        {.name = "a NUL byte in DataPath, oneliners",
            .program = &Morvane,
            .config = "Board\r\n{dir}/oneliner.dat\0\r\n"s,
            .files = {{"oneliner.dat", EncodeOneliner({"hi", "Ann"})}},
            .header = false,
            .footer = false},
        {.name = "a NUL byte in DataPath, nodes: the header only",
            .program = &Quandelo,
            .config = "Board\r\n{dir}/chat1.dat\0\r\n2\r\n"s,
            .files = {{"chat1.dat", EncodeNode({})}},
            .boardName = "Board",
            .footer = false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramSandbox sandbox(*c.program);
        sandbox.WriteConfigBytes(Expand(c.config, sandbox));
        WriteFiles(sandbox, c.files);
        RunOptions options;
        if (c.inDirectory)
            options.workingDirectory = sandbox.Directory();
        std::string expected = (c.header ? PageHeader(*c.program, Expand(c.boardName, sandbox)) : "") + c.rows
            + (c.footer ? PageFooter(*c.program) : "");
        ExpectResponse(sandbox.Run(options), expected);
    }
}
