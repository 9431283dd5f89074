// data_path_test.cpp - a long DataPath: the data file's name is cut at 255
// characters, and the cut name is what each program opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bbs_records.h"
#include "expected_page.h"
#include "page_case.h"
#include "program_sandbox.h"

using namespace PageFixture;

TEST(DataPath, ComposedNameIsCutAt255)
{
    struct Case {
        const BuiltProgram* program;
        std::size_t dataPathLength;
        // What is left of each data file's own name after the cut, and
        // that name in full, where a program that did not cut would look.
        std::vector<std::pair<std::string, std::string>> names;
    };
    const Case cases[] = {
        {&Tembrix, 244, {{"callers.dat", "callers.dat"}}},
        {&Tembrix, 245, {{"callers.da", "callers.dat"}}},
        {&Tembrix, 250, {{"calle", "callers.dat"}}},
        {&Morvane, 243, {{"oneliner.dat", "oneliner.dat"}}},
        {&Morvane, 250, {{"oneli", "oneliner.dat"}}},
        {&Quandelo, 246, {{"chat1.dat", "chat1.dat"}, {"chat2.dat", "chat2.dat"}}},
        {&Quandelo, 250, {{"chat1", "chat1.dat"}, {"chat2", "chat2.dat"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program->name) + " with a DataPath of " + std::to_string(c.dataPathLength));
        ProgramSandbox sandbox(*c.program);
        std::string prefix = sandbox.DataPrefix();
        ASSERT_LT(prefix.size(), c.dataPathLength);
        std::string padding(c.dataPathLength - prefix.size(), 'p');
        std::vector<std::string> config = {TestBoard, prefix + padding};
        if (c.program == &Quandelo)
            config.push_back("3");
        sandbox.WriteConfig(config);

        // The cut name holds the data that must show; the full name, when
        // it differs, other data that must not.
        std::string rows;
        int node = 1;
        for (const auto& [kept, full] : c.names) {
            if (c.program == &Tembrix) {
                sandbox.WriteData(padding + full, EncodeCaller({"Full", "", "", 0, 1, 1}));
                sandbox.WriteData(padding + kept, EncodeCaller({"Cut", "", "", 0, 1, 1}));
                rows += CallerRow("1", "Cut", "", "", "1", "00/00/80");
            } else if (c.program == &Morvane) {
                sandbox.WriteData(padding + full, EncodeOneliner({"full", "Full"}));
                sandbox.WriteData(padding + kept, EncodeOneliner({"cut", "Cut"}));
                rows += OnelinerRow("Cut", "cut");
            } else {
                sandbox.WriteData(padding + full, EncodeNode({1, "Full", "", ""}));
                sandbox.WriteData(padding + kept, EncodeNode({1, "Cut", "", ""}));
                rows += ActiveRow(node++, "Cut", "", "");
            }
        }
        ExpectResponse(sandbox.Run(), WholePage(*c.program, TestBoard, rows));
    }
}
