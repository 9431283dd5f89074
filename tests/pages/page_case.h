// page_case.h - what the end-to-end tables share: the configuration of a
// case and the check of a whole response.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "bbs_records.h"
#include "expected_page.h"
#include "program_sandbox.h"
#include "run_program.h"
#include "target_platform.h"

namespace PageFixture {

// Written in configuration and expected text where the case's own
// directory goes: "{dir}/" is a DataPath naming the sandbox. Both become
// what the program under test names them, a Windows path under Wine.
inline std::string Expand(std::string text, const ProgramSandbox& sandbox)
{
    const std::string marker = "{dir}";
    const std::string directory = TargetPath(sandbox.Directory());
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + directory.size())) {
        text.replace(at, marker.size(), directory);
        std::size_t after = at + directory.size();
        if (after < text.size() && text[after] == '/')
            text[after] = TargetSeparator();
    }
    return text;
}

inline std::vector<std::string> Expand(std::vector<std::string> lines, const ProgramSandbox& sandbox)
{
    for (std::string& line : lines)
        line = Expand(line, sandbox);
    return lines;
}

// A data file of a case, named relative to the sandbox.
using DataFile = std::pair<std::string, std::string>;

// The programs exit 0 whatever happens, write nothing to stderr, and their
// whole answer is stdout.
inline void ExpectResponse(const RunResult& result, const std::string& expected)
{
    EXPECT_TRUE(result.ExitedWith(0)) << Describe(result);
    EXPECT_EQ(result.standardError, "");
    EXPECT_EQ(result.standardOutput, expected);
}

// The least data that gives a program its whole frame: an empty data file,
// or, for the node page, which always visits node 1, one waiting node and a
// limit of 2.
struct FrameData {
    std::vector<std::string> configAfterDataPath;
    std::vector<DataFile> files;
    std::string rows;
};

inline FrameData MinimalData(const BuiltProgram& program)
{
    if (&program == &Tembrix)
        return {{}, {{"callers.dat", ""}}, ""};
    if (&program == &Morvane)
        return {{}, {{"oneliner.dat", ""}}, ""};
    return {{"2"}, {{"chat1.dat", EncodeNode({})}}, WaitingRow(1)};
}

// One row of a page table: the files of the case, its configuration after
// BoardName, and what the response must hold. Rows are written with
// designated initializers and name only what differs.
struct PageCase {
    const char* name = "";
    std::vector<DataFile> files = {};
    std::string dataPath = "{dir}/";
    std::string nodeLimit = {}; // the node page's third line
    // Anything the files cannot say: a FIFO, a directory, permissions.
    void (*setUp)(const ProgramSandbox&) = nullptr;
    std::string rows = {}; // whole lines, CR LF included
    bool header = true;
    bool footer = true;
};

inline const std::string TestBoard = "Test Board";

inline void RunPageCase(const BuiltProgram& program, const PageCase& c)
{
    SCOPED_TRACE(c.name);
    ProgramSandbox sandbox(program);
    std::vector<std::string> config = {TestBoard, Expand(c.dataPath, sandbox)};
    if (&program == &Quandelo)
        config.push_back(c.nodeLimit);
    sandbox.WriteConfig(config);
    for (const DataFile& file : c.files)
        sandbox.WriteData(file.first, file.second);
    if (c.setUp != nullptr)
        c.setUp(sandbox);
    std::string expected = (c.header ? PageHeader(program, TestBoard) : "") + c.rows
        + (c.footer ? PageFooter(program) : "");
    ExpectResponse(sandbox.Run(), expected);
}

inline std::string Repeat(const std::string& text, std::size_t times)
{
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

// A name of the given length whose characters vary, so that a cut shows
// where it fell.
inline std::string NameOfLength(std::size_t length)
{
    static const char pattern[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name;
    for (std::size_t i = 0; i < length; ++i)
        name += pattern[i % (sizeof pattern - 1)];
    return name;
}

} // namespace PageFixture
