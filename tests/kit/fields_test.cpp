// fields_test.cpp - pipe codes, digits, two-digit numbers, packed dates and
// the fields read out of a record.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "fields.h"
#include "kit_test_support.h"
#include "record_fields.h"

namespace {

TEST(IsAllDigits, OnlyTheTenDigits)
{
    struct Case {
        const char* name;
        const char* text;
        bool expected;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"all ten", "0123456789", true},
        {"letter", "12a", false},
        {"space", "1 2", false},
        {"sign", "-1", false},
        {"just below 0", "/", false},
        {"just above 9", ":", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsAllDigits(c.text), c.expected);
    }
    EXPECT_FALSE(IsAllDigits(FromStd(std::string("1\xB9", 2)))) << "a byte above 127";
}

TEST(StripPipeCodes, RemovesCodesLeftToRight)
{
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"two codes", "|07Hello|15 World", "Hello World"},
        {"letter in the middle", "|a5x", "x"},
        {"bar in the middle", "||012", "12"},
        {"bar in the middle, inside a word", "a||12b", "a2b"},
        {"codes back to back", "|07|08|09", ""},
        {"no rescan after a removal", "|x|y12", "|x2"},
        {"short code then a code", "|0|07", "|0"},
        {"three bars", "|||12", "|2"},
        {"bar left before the end", "|07|x", "|x"},
        {"bar at the end stays", "|15|", "|"},
        {"no digit in third place", "|0x", "|0x"},
        {"bar and one character", "|1", "|1"},
        {"bar last", "ab|", "ab|"},
        {"no bar", "plain text 123", "plain text 123"},
        {"empty", "", ""},
        {"space in the middle", "| 9end", "end"},
        {"code at the very end of a full text", std::string(252, 'a') + "|07", std::string(252, 'a')},
        {"bar two from the end of a full text", std::string(253, 'a') + "|0", std::string(253, 'a') + "|0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToStd(StripPipeCodes(FromStd(c.in))), c.out);
    }
}

TEST(StripPipeCodes, IgnoresStorageBeyondTheLength)
{
    Text text("|07");
    text.length = 2; // "|0", with a digit still lying in storage behind it
    EXPECT_EQ(ToStd(StripPipeCodes(text)), "|0");
}

TEST(TwoDigitText, PadsOneDigitOnly)
{
    struct Case {
        std::uint16_t value;
        const char* expected;
    };
    const Case cases[] = {
        {0, "00"}, {7, "07"}, {9, "09"}, {10, "10"}, {99, "99"}, {100, "100"}, {65535, "65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ToStd(TwoDigitText(c.value)), c.expected);
    }
}

// The fields as the BBS packs them, years already counted from 1980 and
// seconds halved.
constexpr std::uint32_t Pack(std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour,
    std::uint32_t minute, std::uint32_t halfSeconds)
{
    return year << 25 | month << 21 | day << 16 | hour << 11 | minute << 5 | halfSeconds;
}

TEST(UnpackDateTime, SplitsEveryBitPattern)
{
    struct Case {
        const char* name;
        std::uint32_t packed;
        DateTimeParts parts;
    };
    const Case cases[] = {
        {"1 November 2003, 12:34:56", Pack(23, 11, 1, 12, 34, 28), {2003, 11, 1, 12, 34, 56}},
        {"zero", 0, {1980, 0, 0, 0, 0, 0}},
        {"all bits set", 0xFFFFFFFFu, {2107, 15, 31, 31, 63, 62}},
        {"one bit per field", Pack(1, 1, 1, 1, 1, 1), {1981, 1, 1, 1, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DateTimeParts parts = UnpackDateTime(c.packed);
        EXPECT_EQ(parts.year, c.parts.year);
        EXPECT_EQ(parts.month, c.parts.month);
        EXPECT_EQ(parts.day, c.parts.day);
        EXPECT_EQ(parts.hour, c.parts.hour);
        EXPECT_EQ(parts.minute, c.parts.minute);
        EXPECT_EQ(parts.second, c.parts.second);
    }
}

TEST(PackedDateText, MonthDayYearUnchecked)
{
    struct Case {
        const char* name;
        std::uint32_t packed;
        const char* expected;
    };
    const Case cases[] = {
        {"1 November 2003", Pack(23, 11, 1, 12, 34, 28), "11/01/03"},
        {"4 July 1999", Pack(19, 7, 4, 0, 0, 0), "07/04/99"},
        {"zero", 0, "00/00/80"},
        {"all bits set", 0xFFFFFFFFu, "15/31/07"},
        {"year 2000", Pack(20, 1, 2, 0, 0, 0), "01/02/00"},
        {"year 2100 shows like 2000", Pack(120, 1, 2, 0, 0, 0), "01/02/00"},
        {"month 13", Pack(23, 13, 31, 0, 0, 0), "13/31/03"},
        {"time half ignored", Pack(23, 11, 1, 31, 63, 31), "11/01/03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToStd(PackedDateText(c.packed)), c.expected);
    }
}

TEST(FieldText, TakesTheLengthByteButNeverLeavesTheRecord)
{
    unsigned char record[12] = {3, 'a', 'b', 'c', 'X', 200, 'd', 'e', 'f', 'g', 'h', 9};
    struct Case {
        const char* name;
        std::size_t offset;
        const char* expected;
    };
    const Case cases[] = {
        {"length byte as stored", 0, "abc"},
        {"length past the end stops at the end", 5, "defgh\x09"},
        {"length byte is the last byte", 11, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToStd(FieldText(record, c.offset)), c.expected);
    }

    unsigned char empty[4] = {0, 'x', 'y', 'z'};
    EXPECT_EQ(ToStd(FieldText(empty, 0)), "");

    unsigned char full[300];
    for (std::size_t i = 0; i < sizeof full; ++i)
        full[i] = static_cast<unsigned char>('a' + i % 26);
    full[10] = 255;
    EXPECT_EQ(ToStd(FieldText(full, 10)), std::string(reinterpret_cast<const char*>(full + 11), 255));
}

TEST(FieldUint32, LittleEndian)
{
    unsigned char record[6] = {0xAA, 0x01, 0x02, 0x03, 0x84, 0xFF};
    EXPECT_EQ(FieldUint32(record, 1), 0x84030201u);
    unsigned char ones[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(FieldUint32(ones, 0), 0xFFFFFFFFu);
}

} // namespace
