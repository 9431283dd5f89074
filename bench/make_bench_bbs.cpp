// make_bench_bbs.cpp - writes a BBS's data files of a chosen size for the benchmark.
//
// Usage: make_bench_bbs DIRECTORY CALLERS
// Writes DIRECTORY/callers.dat with CALLERS records, chat1.dat to chat8.dat
// and oneliner.dat with 20 records, the size of a small board's files.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bbs_records.h"

namespace {

constexpr int NodeCount = 8;
constexpr int OnelinerCount = 20;

// Fields vary from record to record, with the pipe codes and the characters
// that HTML escapes which real callers leave in them.
const char* const Names[] = {"Dark Angel", "Zed", "Tom & Jerry", "The <Sysop>", "Lord Vader", "MoonRider"};
const char* const Locations[] = {"|07Springfield, |15IL", "Toronto, ON", "|12Sydney |08\"AU\"", "Berlin, DE",
    "|09Nowhere |10& |11Everywhere"};
const char* const Bauds[] = {"38400", "TELNET", "14400", "2400", "57600"};

Caller CallerNumber(int index)
{
    Caller caller;
    caller.userName = StoredText(std::string(Names[index % 6]) + " " + std::to_string(index % 977));
    caller.location = Locations[index % 5];
    caller.baud = Bauds[index % 5];
    caller.dateTime = PackDateTime(2003 + index % 20, 1 + index % 12, 1 + index % 28, index % 24, index % 60);
    caller.node = static_cast<std::uint8_t>(1 + index % NodeCount);
    caller.callNumber = index + 1;
    return caller;
}

Node NodeNumber(int node)
{
    // Some nodes in use, the others waiting for a call.
    Node record;
    if (node % 3 == 1) {
        record.inUse = 1;
        record.handle = Names[node % 6];
        record.activity = "Reading |14messages";
        record.location = Locations[node % 5];
    }
    return record;
}

Oneliner OnelinerNumber(int index)
{
    Oneliner oneliner;
    oneliner.words = StoredText("|1" + std::to_string(index % 10) + "Hello from the <wall> & all, number "
        + std::to_string(index));
    oneliner.handle = Names[index % 6];
    return oneliner;
}

template <typename Encode>
bool WriteRecords(const std::string& path, int count, Encode encode)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < count && file; ++i)
        file << encode(i);
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_bench_bbs: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bench_bbs DIRECTORY CALLERS\n");
        return 2;
    }
    const std::string directory = std::string(argv[1]) + "/";
    const int callers = std::atoi(argv[2]);

    bool written = WriteRecords(directory + "callers.dat", callers, [](int i) { return EncodeCaller(CallerNumber(i)); })
        && WriteRecords(directory + "oneliner.dat", OnelinerCount,
            [](int i) { return EncodeOneliner(OnelinerNumber(i)); });
    for (int node = 1; node <= NodeCount && written; ++node)
        written = WriteRecords(directory + "chat" + std::to_string(node) + ".dat", 1,
            [node](int) { return EncodeNode(NodeNumber(node)); });
    return written ? 0 : 1;
}
