// sample_board.cpp - the reliability tests' BBS records and installation.
#include "sample_board.h"

#include <array>

namespace Reliability {

namespace {

// Callers write their own names and words: markup, entities and quotes
// must reach the page escaped, pipe codes removed where they are cleaned.
const std::array<const char*, 6> Names = {
    "Sysop", "<b>Bold</b>", "Tom & Jerry", "\"Quoted\" Guy", "|07Pipe|15Man", "a>b<c",
};
const std::array<const char*, 4> Places = {
    "|14Ottawa, ON", "<script>x</script>", "Fish & Chips", "Nowhere",
};
const std::array<const char*, 4> Words = {
    "Hello |07world|15!", "<img src=x onerror=\"alert(1)\">", "R&D rules", "plain words",
};

const char* Pick(const auto& list, int i)
{
    return list[static_cast<std::size_t>(i) % list.size()];
}

} // namespace

Caller SampleCaller(int i)
{
    Caller caller;
    caller.userName = Pick(Names, i);
    caller.location = Pick(Places, i);
    caller.baud = i % 2 == 0 ? "33600" : "TELNET";
    caller.dateTime = PackDateTime(2003, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60);
    caller.node = static_cast<std::uint8_t>(1 + i % 4);
    caller.callNumber = 10000 + i;
    return caller;
}

Node SampleNode(int i)
{
    Node node;
    if (i % 2 == 0) {
        node.inUse = 1;
        node.handle = Pick(Names, i);
        node.activity = "Reading <mail> & |07news";
        node.location = Pick(Places, i);
    }
    return node;
}

Oneliner SampleOneliner(int i)
{
    Oneliner oneliner;
    oneliner.words = Pick(Words, i);
    oneliner.handle = Pick(Names, i + 1);
    return oneliner;
}

std::string CallersFile(int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += EncodeCaller(SampleCaller(i));
    return bytes;
}

std::string OnelinersFile(int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += EncodeOneliner(SampleOneliner(i));
    return bytes;
}

void WriteSampleData(const std::filesystem::path& directory, int recordCount, int nodeCount)
{
    PageFixture::WriteFile(directory / "callers.dat", CallersFile(recordCount));
    PageFixture::WriteFile(directory / "oneliner.dat", OnelinersFile(recordCount));
    for (int node = 1; node <= nodeCount; ++node)
        PageFixture::WriteFile(directory / ("chat" + std::to_string(node) + ".dat"), EncodeNode(SampleNode(node)));
}

void WriteSampleConfig(const PageFixture::ProgramSandbox& sandbox, const std::string& dataPath, int nodeCount)
{
    std::vector<std::string> config = {BoardName, dataPath};
    if (&sandbox.Program() == &PageFixture::Quandelo)
        config.push_back(std::to_string(nodeCount + 1));
    sandbox.WriteConfig(config);
}

void InstallSampleBoard(const PageFixture::ProgramSandbox& sandbox, int recordCount, int nodeCount)
{
    WriteSampleConfig(sandbox, sandbox.DataPrefix(), nodeCount);
    WriteSampleData(sandbox.Directory(), recordCount, nodeCount);
}

std::string FirstDataFile(const PageFixture::BuiltProgram& program)
{
    if (&program == &PageFixture::Tembrix)
        return "callers.dat";
    if (&program == &PageFixture::Quandelo)
        return "chat1.dat";
    return "oneliner.dat";
}

} // namespace Reliability
