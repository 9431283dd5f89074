// bbs_records.cpp - writes the BBS's records byte for byte.
#include "bbs_records.h"

#include "caller_record.h"
#include "node_record.h"
#include "oneliner_record.h"

// Puts a counted string at offset; characters past the record's end are
// dropped, as the record has nowhere to hold them.
static void PutText(std::string& record, std::size_t offset, const StoredText& field)
{
    int length = field.lengthByte >= 0 ? field.lengthByte : static_cast<int>(field.text.size());
    record[offset] = static_cast<char>(length);
    std::string chars = field.text.substr(0, record.size() - offset - 1);
    record.replace(offset + 1, chars.size(), chars);
}

static void PutUint32(std::string& record, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        record[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second)
{
    auto field = [](int value, int bits, int shift) {
        return (static_cast<std::uint32_t>(value) & ((1u << bits) - 1)) << shift;
    };
    return field(year - 1980, 7, 25) | field(month, 4, 21) | field(day, 5, 16) | field(hour, 5, 11)
        | field(minute, 6, 5) | field(second / 2, 5, 0);
}

// Text fields are written in record order, so a text longer than its room
// is overwritten by the next field, as it would be in the BBS's own file.
std::string EncodeCaller(const Caller& caller)
{
    std::string record(CallerRecord::Size, '\0');
    PutText(record, CallerRecord::UserNameOffset, caller.userName);
    PutText(record, CallerRecord::LocationOffset, caller.location);
    PutText(record, CallerRecord::BaudOffset, caller.baud);
    PutUint32(record, CallerRecord::DateTimeOffset, caller.dateTime);
    record[CallerRecord::NodeOffset] = static_cast<char>(caller.node);
    PutUint32(record, CallerRecord::CallNumberOffset, static_cast<std::uint32_t>(caller.callNumber));
    return record;
}

std::string EncodeNode(const Node& node)
{
    std::string record(NodeRecord::Size, '\0');
    record[NodeRecord::InUseOffset] = static_cast<char>(node.inUse);
    PutText(record, NodeRecord::HandleOffset, node.handle);
    PutText(record, NodeRecord::ActivityOffset, node.activity);
    PutText(record, NodeRecord::LocationOffset, node.location);
    return record;
}

std::string EncodeOneliner(const Oneliner& oneliner)
{
    std::string record(OnelinerRecord::Size, '\0');
    PutText(record, OnelinerRecord::WordsOffset, oneliner.words);
    PutText(record, OnelinerRecord::HandleOffset, oneliner.handle);
    return record;
}
