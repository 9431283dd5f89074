// text_test.cpp - CountedString's cuts and the text operations.
#include <climits>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "kit_test_support.h"
#include "text.h"

namespace {

TEST(CountedString, StoringKeepsTheFirstCharactersThatFit)
{
    const std::string forty(40, 'x');
    std::string numbered;
    for (int i = 0; i < 40; ++i)
        numbered += static_cast<char>('A' + i % 26);

    CountedString<30> narrow = FromStd(numbered);
    EXPECT_EQ(narrow.length, 30);
    EXPECT_EQ(std::string(narrow.chars, narrow.length), numbered.substr(0, 30));

    CountedString<30> fromLiteral(forty.c_str());
    EXPECT_EQ(fromLiteral.length, 30);

    // Stored back into a wider text, nothing of the cut returns.
    Text widened = narrow;
    EXPECT_EQ(ToStd(widened), numbered.substr(0, 30));

    CountedString<1> single = Text("abc");
    EXPECT_EQ(std::string(single.chars, single.length), "a");

    CountedString<30> appended = Text(std::string(28, 'y').c_str());
    appended.Append("abcdef", 6);
    EXPECT_EQ(std::string(appended.chars, appended.length), std::string(28, 'y') + "ab");
}

std::string Letters(std::size_t count, char first)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += static_cast<char>(first + static_cast<char>(i % 26));
    return text;
}

TEST(ConcatText, KeepsAllOfTheFirstAndWhatFitsOfTheSecond)
{
    struct Case {
        const char* name;
        std::string a;
        std::string b;
        std::string expected;
    };
    const std::string a200 = Letters(200, 'a');
    const std::string b100 = Letters(100, 'A');
    const std::string full = Letters(255, 'a');
    const Case cases[] = {
        {"200 and 100 give 255", a200, b100, a200 + b100.substr(0, 55)},
        {"both fit", "abc", "def", "abcdef"},
        {"exactly 255", a200, Letters(55, 'A'), a200 + Letters(55, 'A')},
        {"first is full", full, "xyz", full},
        {"first is empty", "", full, full},
        {"both empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToStd(ConcatText(FromStd(c.a), FromStd(c.b))), c.expected);
    }
}

TEST(ConcatText, ALongerExpressionLosesOnlyWhatComesLast)
{
    const std::string first = Letters(150, 'a');
    const std::string second = Letters(150, 'A');
    Text line = ConcatText(ConcatText(FromStd(first), FromStd(second)), "suffix");
    EXPECT_EQ(ToStd(line), first + second.substr(0, 105));
}

TEST(CopyText, ClampsIndexAndCount)
{
    struct Case {
        const char* name;
        const char* text;
        std::int32_t index;
        std::int32_t count;
        const char* expected;
    };
    const Case cases[] = {
        {"year's last two digits", "2002", 3, 2, "02"},
        {"index 0 counts as 1", "abc", 0, 2, "ab"},
        {"negative index counts as 1", "abc", INT32_MIN, 2, "ab"},
        {"index past the end", "abc", 4, 1, ""},
        {"negative count", "abc", 1, -1, ""},
        {"count past the end", "abc", 2, 99, "bc"},
        {"largest count", "abc", 1, INT32_MAX, "abc"},
        {"last character", "abc", 3, 1, "c"},
        {"empty text", "", 1, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToStd(CopyText(c.text, c.index, c.count)), c.expected);
    }
}

TEST(DeleteText, RemovesOnlyWhatLiesInsideTheText)
{
    struct Case {
        const char* name;
        const char* text;
        std::int32_t index;
        std::int32_t count;
        const char* expected;
    };
    const Case cases[] = {
        {"a pipe code", "ab|03cd", 3, 3, "abcd"},
        {"index 0", "abcd", 0, 1, "abcd"},
        {"count 0", "abcd", 1, 0, "abcd"},
        {"negative count", "abcd", 1, -3, "abcd"},
        {"index past the end", "abcd", 5, 1, "abcd"},
        {"count past the end", "abcdef", 3, 99, "ab"},
        {"largest count", "abcdef", 2, INT32_MAX, "a"},
        {"up to the end exactly", "abcdef", 4, 3, "abc"},
        {"first character", "abcdef", 1, 1, "bcdef"},
        {"last character", "abcdef", 6, 1, "abcde"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text text(c.text);
        DeleteText(text, c.index, c.count);
        EXPECT_EQ(ToStd(text), c.expected);
    }
}

TEST(DeleteText, MovesTheTailOfAFullText)
{
    const std::string full = Letters(255, 'a');
    Text text = FromStd(full);
    DeleteText(text, 100, 50);
    EXPECT_EQ(ToStd(text), full.substr(0, 99) + full.substr(149));
}

TEST(NumberText, DecimalWithoutPadding)
{
    struct Case {
        const char* name;
        std::int32_t value;
        const char* expected;
    };
    const Case cases[] = {
        {"zero", 0, "0"},
        {"one digit", 7, "7"},
        {"negative", -5, "-5"},
        {"round number", 1000000000, "1000000000"},
        {"largest", INT32_MAX, "2147483647"},
        {"smallest: sign and ten digits", INT32_MIN, "-2147483648"},
        {"minus one", -1, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToStd(NumberText(c.value)), c.expected);
    }
}

TEST(ParseNumber, ValuesAndErrorPositions)
{
    struct Case {
        const char* name;
        std::string text;
        std::int32_t value;
        std::int32_t errorPosition;
    };
    const Case cases[] = {
        {"plain", "12", 12, 0},
        {"leading zeros", "007", 7, 0},
        {"leading spaces", "   7", 7, 0},
        {"trailing space", "7 ", 0, 2},
        {"trailing space after spaces", "  12 ", 0, 5},
        {"tab is not skipped", "\t7", 0, 1},
        {"empty", "", 0, 1},
        {"spaces only", "   ", 0, 4},
        {"letters", "abc", 0, 1},
        {"digits then letters", "12abc", 0, 3},
        {"position counts the spaces", "  -12x", 0, 6},
        {"minus", "-3", -3, 0},
        {"plus", "+3", 3, 0},
        {"minus zero", "-0", 0, 0},
        {"minus alone", "-", 0, 2},
        {"plus alone", "+", 0, 2},
        {"space after sign", "- 3", 0, 2},
        {"two signs", "+-3", 0, 2},
        {"hex letter in decimal", "1F", 0, 2},
        {"C-style prefix", "0x10", 0, 2},
        {"largest", "2147483647", INT32_MAX, 0},
        {"one past the largest", "2147483648", 0, 10},
        {"far too large", "99999999999", 0, 10},
        {"smallest, written with a minus", "-2147483648", INT32_MIN, 0},
        {"one below the smallest", "-2147483649", 0, 11},
        {"NUL byte", std::string("1\0" "2", 3), 0, 2},
        {"hex", "$1F", 31, 0},
        {"hex lower case", "$1f", 31, 0},
        {"hex leading spaces and sign", "  -$10", -16, 0},
        {"eight F", "$FFFFFFFF", -1, 0},
        {"eight F negated", "-$FFFFFFFF", 1, 0},
        {"hex sign bit", "$80000000", INT32_MIN, 0},
        {"hex largest", "$7FFFFFFF", INT32_MAX, 0},
        {"nine hex digits", "$100000000", 0, 10},
        {"nine hex digits, first 0", "$0FFFFFFFF", -1, 0},
        {"dollar alone", "$", 0, 2},
        {"sign and dollar alone", "-$", 0, 3},
        {"not a hex digit", "$G", 0, 2},
        {"hex then letter", "$1FG", 0, 4},
        {"sign after dollar", "$-1", 0, 2},
        {"dollar after digits", "1$", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParsedNumber parsed = ParseNumber(FromStd(c.text));
        EXPECT_EQ(parsed.value, c.value);
        EXPECT_EQ(parsed.errorPosition, c.errorPosition);
    }
}

TEST(ParseNumber, ReadsBackEveryNumberText)
{
    // The edges of the range and an even spread across it.
    auto check = [](std::int32_t value) {
        ParsedNumber parsed = ParseNumber(NumberText(value));
        EXPECT_EQ(parsed.value, value);
        EXPECT_EQ(parsed.errorPosition, 0);
    };
    for (std::int32_t edge : {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX})
        check(edge);
    for (std::int64_t value = INT32_MIN; value <= INT32_MAX; value += 65521)
        check(static_cast<std::int32_t>(value));
}

} // namespace
