// node_status_page_test.cpp - quandelo end to end: chat<N>.dat files as a page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "bbs_records.h"
#include "expected_page.h"
#include "page_case.h"

using namespace PageFixture;

namespace {

DataFile NodeFile(int node, const Node& record)
{
    return {"chat" + std::to_string(node) + ".dat", EncodeNode(record)};
}

DataFile Waiting(int node)
{
    return NodeFile(node, {});
}

// Every third node, node 0 included, has a caller on it; the others wait.
Node BusyBoardNode(int node)
{
    std::string n = std::to_string(node);
    if (node % 3 != 0)
        return {};
    return {1, "Handle " + n, "Activity " + n, "Location " + n};
}

std::string BusyBoardRow(int node)
{
    std::string n = std::to_string(node);
    return node % 3 != 0 ? WaitingRow(node) : ActiveRow(node, "Handle " + n, "Location " + n, "Activity " + n);
}

// chat0.dat to chat255.dat.
void WriteBusyBoard(const ProgramSandbox& sandbox)
{
    for (int node = 0; node <= 255; ++node) {
        DataFile file = NodeFile(node, BusyBoardNode(node));
        sandbox.WriteData(file.first, file.second);
    }
}

std::string BusyBoardRows(int first, int last)
{
    std::string rows;
    for (int node = first; node <= last; ++node)
        rows += BusyBoardRow(node);
    return rows;
}

} // namespace

TEST(NodeStatusPage, NodesFromOneUntilTheLimit)
{
    const std::string allNodes = BusyBoardRows(1, 255);
    const PageCase cases[] = {
        {.name = "5 with nodes 1 to 4 present",
            .files = {Waiting(1), Waiting(2), Waiting(3), Waiting(4)},
            .nodeLimit = "5",
            .rows = WaitingRow(1) + WaitingRow(2) + WaitingRow(3) + WaitingRow(4)},
        {.name = "5 with chat3.dat missing: rows 1 and 2, then nothing",
            .files = {Waiting(1), Waiting(2), Waiting(4)},
            .nodeLimit = "5",
            .rows = WaitingRow(1) + WaitingRow(2),
            .footer = false},
        {.name = "2: node 1 only", .nodeLimit = "2", .setUp = WriteBusyBoard, .rows = BusyBoardRows(1, 1)},
        {.name = "1: nodes 1 to 255, then node 0",
            .nodeLimit = "1",
            .setUp = WriteBusyBoard,
            .rows = allNodes + BusyBoardRow(0)},
        {.name = "empty: nodes 1 to 255", .setUp = WriteBusyBoard, .rows = allNodes},
        {.name = "0: nodes 1 to 255", .nodeLimit = "0", .setUp = WriteBusyBoard, .rows = allNodes},
        {.name = "abc is no number: nodes 1 to 255", .nodeLimit = "abc", .setUp = WriteBusyBoard, .rows = allNodes},
        {.name = "a trailing blank makes no number: nodes 1 to 255",
            .nodeLimit = "5 ",
            .setUp = WriteBusyBoard,
            .rows = allNodes},
        {.name = "leading blanks are skipped: 5",
            .nodeLimit = "  5",
            .setUp = WriteBusyBoard,
            .rows = BusyBoardRows(1, 4)},
        {.name = "hexadecimal $FF: nodes 1 to 254",
            .nodeLimit = "$FF",
            .setUp = WriteBusyBoard,
            .rows = BusyBoardRows(1, 254)},
        {.name = "255: nodes 1 to 254", .nodeLimit = "255", .setUp = WriteBusyBoard, .rows = BusyBoardRows(1, 254)},
        {.name = "-1: nodes 1 to 255, once", .nodeLimit = "-1", .setUp = WriteBusyBoard, .rows = allNodes},
        {.name = "256: nodes 1 to 255, once", .nodeLimit = "256", .setUp = WriteBusyBoard, .rows = allNodes},
        {.name = "300: nodes 1 to 255, once", .nodeLimit = "300", .setUp = WriteBusyBoard, .rows = allNodes},
        {.name = "too large a number: nodes 1 to 255",
            .nodeLimit = "2147483648",
            .setUp = WriteBusyBoard,
            .rows = allNodes},
    };
    for (const PageCase& c : cases)
        RunPageCase(Quandelo, c);
}

TEST(NodeStatusPage, OneRowPerNodeFile)
{
    const std::string handle30 = NameOfLength(30);
    const Node allLong = {1, {handle30, 255}, {"Chatting", 255}, {"Oslo", 255}};
    const std::string allLongBytes = EncodeNode(allLong);
    const Node longHandle = {1, {handle30, 255}, "Chatting", "Oslo"};
    const Node longActivity = {1, "Ann", {"Chatting", 255}, "Oslo"};
    const Node longLocation = {1, "Ann", "Chatting", {"Oslo", 255}};

    const PageCase cases[] = {
        {.name = "InUse 0 waits, whatever the other fields hold",
            .files = {NodeFile(1, {0, "Ann", "Chatting", "Oslo"})},
            .nodeLimit = "2",
            .rows = WaitingRow(1)},
        {.name = "InUse 1 and 255 are in use",
            .files = {NodeFile(1, {1, "Ann", "Chatting", "Oslo"}), NodeFile(2, {255, "Bob", "Reading mail", "Bergen"})},
            .nodeLimit = "3",
            .rows = ActiveRow(1, "Ann", "Oslo", "Chatting") + ActiveRow(2, "Bob", "Bergen", "Reading mail")},
        {.name = "an empty in-use record: empty cells",
            .files = {NodeFile(1, {1, "", "", ""})},
            .nodeLimit = "2",
            .rows = ActiveRow(1, "", "", "")},
        {.name = "pipe codes removed from the location only",
            .files = {NodeFile(1, {1, "|12Ann", "|07Chatting", "|14Oslo|07!"})},
            .nodeLimit = "2",
            .rows = ActiveRow(1, "|12Ann", "Oslo!", "|07Chatting")},
        {.name = "a file longer than one record: its first record",
            .files = {{"chat1.dat", EncodeNode({1, "Ann", "Chatting", "Oslo"}) + EncodeNode({0, "Bob", "", ""})}},
            .nodeLimit = "2",
            .rows = ActiveRow(1, "Ann", "Oslo", "Chatting")},
        {.name = "a node file one byte short: the rows before it, then nothing",
            .files = {Waiting(1), {"chat2.dat", EncodeNode({1, "Ann", "", ""}).substr(0, 116)}, Waiting(3)},
            .nodeLimit = "4",
            .rows = WaitingRow(1),
            .footer = false},
        {.name = "an empty node file: the rows before it, then nothing",
            .files = {Waiting(1), {"chat2.dat", ""}, Waiting(3)},
            .nodeLimit = "4",
            .rows = WaitingRow(1),
            .footer = false},
        {.name = "a directory in place of a node file: nothing from there on",
            .files = {Waiting(1), Waiting(3)},
            .nodeLimit = "4",
            .setUp = [](const ProgramSandbox& sandbox) {
                std::filesystem::create_directory(sandbox.Directory() / "chat2.dat");
            },
            .rows = WaitingRow(1),
            .footer = false},
        {.name = "a FIFO in place of a node file: nothing from there on, and no wait",
            .files = {Waiting(1), Waiting(3)},
            .nodeLimit = "4",
            .setUp = [](const ProgramSandbox& sandbox) {
                ASSERT_EQ(::mkfifo((sandbox.Directory() / "chat2.dat").c_str(), 0644), 0);
            },
            .rows = WaitingRow(1),
            .footer = false},
        {.name = "node 1 missing: the header only", .files = {Waiting(2)}, .nodeLimit = "3", .footer = false},
        {.name = "a handle length byte of 255 stops at the record's end",
            .files = {NodeFile(1, longHandle)},
            .nodeLimit = "2",
            .rows = ActiveRow(1, EncodeNode(longHandle).substr(2, 115), "Oslo", "Chatting")},
        {.name = "an activity length byte of 255 stops at the record's end",
            .files = {NodeFile(1, longActivity)},
            .nodeLimit = "2",
            .rows = ActiveRow(1, "Ann", "Oslo", EncodeNode(longActivity).substr(33, 84))},
        {.name = "a location length byte of 255 stops at the record's end",
            .files = {NodeFile(1, longLocation)},
            .nodeLimit = "2",
            .rows = ActiveRow(1, "Ann", EncodeNode(longLocation).substr(74, 43), "Chatting")},
        {.name = "length bytes of 255 in every field: the row cut at 255 characters",
            .files = {NodeFile(1, allLong)},
            .nodeLimit = "2",
            .rows = Cut(ActiveRowText(1, allLongBytes.substr(2, 115), allLongBytes.substr(74, 43),
                        allLongBytes.substr(33, 84)))
                + LineEnd},
        {.name = "markup characters escaped in handle, location and activity",
            .files = {NodeFile(1, {1, "<b>Ann</b>", "Reading \"News\" & mail", "<Oslo>"})},
            .nodeLimit = "2",
            .rows = ActiveRow(1, "&lt;b&gt;Ann&lt;/b&gt;", "&lt;Oslo&gt;", "Reading &quot;News&quot; &amp; mail")},
        {.name = "a DataPath without a trailing / runs into the file name",
            .files = {{"node-chat1.dat", EncodeNode({1, "Ann", "", ""})}, NodeFile(1, {1, "Bob", "", ""})},
            .dataPath = "{dir}/node-",
            .nodeLimit = "2",
            .rows = ActiveRow(1, "Ann", "", "")},
    };
    for (const PageCase& c : cases)
        RunPageCase(Quandelo, c);
}
