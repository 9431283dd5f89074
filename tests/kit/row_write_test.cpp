// row_write_test.cpp - rows composed from markup and escaped fields.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "io.h"
#include "kit_test_support.h"
#include "page.h"

namespace {

struct Piece {
    bool field;
    std::string text;
};

RowWrite Compose(const std::vector<Piece>& pieces)
{
    RowWrite row;
    for (const Piece& piece : pieces) {
        if (piece.field)
            row.Field(FromStd(piece.text));
        else
            row.Markup(FromStd(piece.text));
    }
    return row;
}

std::string Bytes(const RowWrite& row)
{
    return std::string(row.Bytes(), row.Size());
}

std::string Repeat(const std::string& text, std::size_t times)
{
    std::string result;
    for (std::size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

TEST(RowWrite, EscapesFieldsAndCutsByStoredCharacters)
{
    struct Case {
        const char* name;
        std::vector<Piece> pieces;
        std::string expected;
    };
    const std::string markup250(250, 'm');
    const std::string markup254(254, 'm');
    const Case cases[] = {
        {"the four characters of a field", {{true, "a&b<c>d\"e"}}, "a&amp;b&lt;c&gt;d&quot;e"},
        {"an injected script", {{true, "<script>"}}, "&lt;script&gt;"},
        {"markup as written", {{false, "<td align=\"left\">&"}}, "<td align=\"left\">&"},
        {"other bytes as stored", {{true, std::string("'|\x01\0\xFF;", 6)}}, std::string("'|\x01\0\xFF;", 6)},
        {"an entity in a field is escaped again", {{true, "&amp;"}}, "&amp;amp;"},
        {"a whole row",
            {{false, "<td>"}, {true, "A&B"}, {false, "</td><td>"}, {true, "x>y"}, {false, "</td></TR>"}},
            "<td>A&amp;B</td><td>x&gt;y</td></TR>"},
        {"the cut counts stored characters", {{false, markup250}, {true, Repeat("<", 10)}},
            markup250 + Repeat("&lt;", 5)},
        {"the 255th character is a whole entity", {{false, markup254}, {true, "&x"}}, markup254 + "&amp;"},
        {"markup past the cut is dropped", {{false, std::string(255, 'm')}, {false, "</TR>"}}, std::string(255, 'm')},
        {"a field past the cut is dropped", {{false, std::string(255, 'm')}, {true, "<"}}, std::string(255, 'm')},
        {"255 quotes make the longest write", {{true, std::string(255, '"')}}, Repeat("&quot;", 255)},
        {"nothing", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Bytes(Compose(c.pieces)), c.expected);
    }
}

TEST(RowWrite, EachWriteOfALineHasItsOwnCut)
{
    const std::string long300(300, 'n');
    struct Case {
        const char* name;
        RowWrite row;
        std::string expected;
    };
    const Case cases[] = {
        {"writes follow each other", RowWrite().Markup("a").NextWrite().Field("<").NextWrite().Markup("c"),
            "a&lt;c"},
        {"a cut write loses its end, the next follows",
            RowWrite().Markup("<td>").Field(FromStd(long300)).Markup("</td>").NextWrite().Markup("<td>x"),
            "<td>" + std::string(251, 'n') + "<td>x"},
        {"every write may reach 255",
            RowWrite().Markup(FromStd(long300)).NextWrite().Markup(FromStd(long300)).NextWrite().Field(
                FromStd(std::string(300, '&'))),
            std::string(510, 'n') + Repeat("&amp;", 255)},
        {"past the third write the cut goes on",
            RowWrite().Markup("a").NextWrite().Markup("b").NextWrite().Markup(FromStd(std::string(254, 'c'))).NextWrite()
                .Markup("dd"),
            "ab" + std::string(254, 'c') + "d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Bytes(c.row), c.expected);
    }
}

TEST(RowWrite, WritesItsBytesAsTheyStand)
{
    ASSERT_EQ(TakeIoError(), 0);
    RowWrite row = Compose({{false, "<td>"}, {true, "a<b"}, {false, "</td>"}});
    CapturedOutput capture;
    WriteText(row);
    WriteLine(row);
    EXPECT_EQ(capture.Finish(), "<td>a&lt;b</td><td>a&lt;b</td>\r\n");
    EXPECT_EQ(TakeIoError(), 0);

    // A row longer than 255 bytes is written whole.
    RowWrite quotes = Compose({{true, std::string(255, '"')}});
    CapturedOutput longCapture;
    WriteLine(quotes);
    EXPECT_EQ(longCapture.Finish(), Repeat("&quot;", 255) + "\r\n");
}

} // namespace
