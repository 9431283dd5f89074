// sample_description.cpp - reads the sample BBS's text description.
#include "sample_description.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

static std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Splits into at most count fields; the last one takes the rest of the
// line, so words may hold the separator.
static std::vector<std::string> Fields(const std::string& text, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < count) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            break;
        fields.push_back(Trimmed(text.substr(start, end - start)));
        start = end + 1;
    }
    fields.push_back(Trimmed(text.substr(start)));
    return fields;
}

static bool ParseInteger(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= low && value <= high;
}

static bool ParseDate(const std::string& text, std::uint32_t& packed)
{
    int year, month, day, hour, minute;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &year, &month, &day, &hour, &minute, &tail) != 5)
        return false;
    if (year < 1980 || year > 2107 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59)
        return false;
    packed = PackDateTime(year, month, day, hour, minute);
    return true;
}

// Fields longer than their room would run into the next field; the BBS
// never writes such a record, so the description may not hold one either.
static bool Fits(const std::string& text, std::size_t room)
{
    return text.size() <= room;
}

static const char* ReadCaller(const std::string& rest, SampleBbs& bbs)
{
    std::vector<std::string> fields = Fields(rest, 6);
    if (fields.size() != 6)
        return "a caller needs: call number; name; location; baud; node; date";
    Caller caller;
    long callNumber, node;
    if (!ParseInteger(fields[0], INT32_MIN, INT32_MAX, callNumber))
        return "the call number is not a 32-bit number";
    if (!ParseInteger(fields[4], 0, 255, node))
        return "the node is not a number from 0 to 255";
    if (!ParseDate(fields[5], caller.dateTime))
        return "the date is not YYYY-MM-DD HH:MM from 1980 to 2107";
    if (!Fits(fields[1], 30) || !Fits(fields[2], 56) || !Fits(fields[3], 6))
        return "name, location or baud longer than 30, 56 or 6 characters";
    caller.callNumber = static_cast<std::int32_t>(callNumber);
    caller.node = static_cast<std::uint8_t>(node);
    caller.userName = fields[1];
    caller.location = fields[2];
    caller.baud = fields[3];
    bbs.callers.push_back(caller);
    return nullptr;
}

static const char* ReadNode(const std::string& rest, SampleBbs& bbs)
{
    std::vector<std::string> fields = Fields(rest, 5);
    NodeState node;
    long number;
    if (fields.size() < 2 || !ParseInteger(fields[0], 0, 255, number))
        return "a node needs its number from 0 to 255, then waiting or busy";
    node.number = static_cast<int>(number);
    if (fields.size() == 2 && fields[1] == "waiting") {
        bbs.nodes.push_back(node);
        return nullptr;
    }
    if (fields.size() != 5 || fields[1] != "busy")
        return "a busy node needs: number; busy; handle; location; activity";
    if (!Fits(fields[2], 30) || !Fits(fields[3], 43) || !Fits(fields[4], 40))
        return "handle, location or activity longer than 30, 43 or 40 characters";
    node.record.inUse = 1;
    node.record.handle = fields[2];
    node.record.location = fields[3];
    node.record.activity = fields[4];
    bbs.nodes.push_back(node);
    return nullptr;
}

static const char* ReadOneliner(const std::string& rest, std::vector<Oneliner>& list)
{
    std::vector<std::string> fields = Fields(rest, 2);
    if (fields.size() != 2)
        return "a oneliner needs: handle; words";
    if (!Fits(fields[0], 30) || !Fits(fields[1], 79))
        return "handle or words longer than 30 or 79 characters";
    Oneliner oneliner;
    oneliner.handle = fields[0];
    oneliner.words = fields[1];
    list.push_back(oneliner);
    return nullptr;
}

static const char* ReadLine(const std::string& line, SampleBbs& bbs)
{
    std::size_t split = line.find_first_of(" \t");
    std::string keyword = line.substr(0, split);
    std::string rest = split == std::string::npos ? std::string() : line.substr(split + 1);
    if (keyword == "caller")
        return ReadCaller(rest, bbs);
    if (keyword == "node")
        return ReadNode(rest, bbs);
    if (keyword == "oneliner")
        return ReadOneliner(rest, bbs.oneliners);
    if (keyword == "chatter")
        return ReadOneliner(rest, bbs.chatter);
    if (keyword == "activity") {
        std::string activity = Trimmed(rest);
        if (activity.empty() || !Fits(activity, 40))
            return "an activity needs from 1 to 40 characters";
        bbs.activities.push_back(activity);
        return nullptr;
    }
    return "unknown keyword (caller, node, oneliner, activity, chatter)";
}

bool ReadSampleDescription(const std::string& path, SampleBbs& bbs, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    for (int lineNumber = 1; std::getline(file, line); ++lineNumber) {
        std::string content = Trimmed(line);
        if (content.empty() || content[0] == '#')
            continue;
        if (const char* fault = ReadLine(content, bbs)) {
            error = path + ":" + std::to_string(lineNumber) + ": " + fault;
            return false;
        }
    }
    if (bbs.nodes.empty()) {
        error = path + ": no node line; a BBS has at least one node";
        return false;
    }
    return true;
}
