// bbs_records.h - writes the BBS's records byte for byte: callers.dat,
// chat<N>.dat and oneliner.dat, for test fixtures and the sample BBS.
#pragma once

#include <cstdint>
#include <string>

// A counted-string field as it is stored. The length byte is normally the
// text's length; a fixture may set any length byte to show what a damaged
// record does, and the text may be longer than the field's room (it then
// runs on into the fields after it, as the BBS would never write it).
struct StoredText {
    std::string text;
    int lengthByte = -1; // -1: the text's own length

    StoredText() = default;
    StoredText(const char* t) : text(t) {}
    StoredText(std::string t) : text(std::move(t)) {}
    StoredText(std::string t, int length) : text(std::move(t)), lengthByte(length) {}
};

struct Caller {
    StoredText userName;
    StoredText location;
    StoredText baud;
    std::uint32_t dateTime = 0;
    std::uint8_t node = 0;
    std::int32_t callNumber = 0;
};

struct Node {
    std::uint8_t inUse = 0;
    StoredText handle;
    StoredText activity;
    StoredText location;
};

struct Oneliner {
    StoredText words;
    StoredText handle;
};

// The packed MS-DOS date and time of a moment; seconds are stored halved.
std::uint32_t PackDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Each returns exactly one record's bytes.
std::string EncodeCaller(const Caller& caller);
std::string EncodeNode(const Node& node);
std::string EncodeOneliner(const Oneliner& oneliner);
