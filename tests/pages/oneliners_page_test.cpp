// oneliners_page_test.cpp - 5morvane end to end: oneliner.dat as a page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "bbs_records.h"
#include "expected_page.h"
#include "page_case.h"

using namespace PageFixture;
using namespace std::string_literals;

namespace {

std::string Oneliners(std::initializer_list<Oneliner> records)
{
    std::string bytes;
    for (const Oneliner& record : records)
        bytes += EncodeOneliner(record);
    return bytes;
}

DataFile Wall(std::initializer_list<Oneliner> records)
{
    return {"oneliner.dat", Oneliners(records)};
}

} // namespace

TEST(OnelinersPage, OneRowPerRecordInFileOrder)
{
    const std::string words79 = NameOfLength(79);
    const std::string handle30 = NameOfLength(30);
    const PageCase cases[] = {
        {.name = "three records",
            .files = {Wall({{"First words", "Ann"}, {"Second", "Bob"}, {"Third", "Cy"}})},
            .rows = OnelinerRow("Ann", "First words") + OnelinerRow("Bob", "Second") + OnelinerRow("Cy", "Third")},
        {.name = "an empty file: the frame only", .files = {Wall({})}},
        {.name = "two whole records and 50 bytes: two rows, then nothing",
            .files = {{"oneliner.dat", Oneliners({{"one", "Ann"}, {"two", "Bob"}}) + std::string(50, 'x')}},
            .rows = OnelinerRow("Ann", "one") + OnelinerRow("Bob", "two"),
            .footer = false},
        {.name = "pipe codes removed from the words, kept in the handle",
            .files = {Wall({{"|07Hello|15 World", "|12Ann"}})},
            .rows = OnelinerRow("|12Ann", "Hello World")},
        {.name = "an empty record: two empty cells", .files = {Wall({{}})}, .rows = OnelinerRow("", "")},
        {.name = "fields that fill their rooms", .files = {Wall({{words79, handle30}})},
            .rows = OnelinerRow(handle30, words79)},
        {.name = "words length byte 80: the handle's length byte joins the words",
            .files = {Wall({{{words79, 80}, "Ann"}})},
            .rows = OnelinerRow("Ann", words79 + "\x03")},
        {.name = "words length byte 255: the words run to the record's end",
            .files = {Wall({{{words79, 255}, "Ann"}})},
            .rows = OnelinerRow("Ann", words79 + "\x03" "Ann" + std::string(27, '\0'))},
        {.name = "handle length byte 31: the handle stops at the record's end",
            .files = {Wall({{"hi", {handle30, 31}}})},
            .rows = OnelinerRow(handle30, "hi")},
        {.name = "length byte 255 in both fields",
            .files = {Wall({{{words79, 255}, {handle30, 255}}})},
            .rows = OnelinerRow(handle30, words79 + "\xFF" + handle30)},
        {.name = "handle length byte 255 on a short handle: the zero bytes after it",
            .files = {Wall({{"hi", {"Bob", 255}}})},
            .rows = OnelinerRow("Bob" + std::string(27, '\0'), "hi")},
        {.name = "markup characters escaped in both cells",
            .files = {Wall({{"<script>alert(\"x\")</script> & more", "<b>Ann&Co</b>"}})},
            .rows = OnelinerRow("&lt;b&gt;Ann&amp;Co&lt;/b&gt;",
                "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; more")},
        {.name = "pipe codes removed before escaping",
            .files = {Wall({{"|<5I |07<3 you", "Ann"}})},
            .rows = OnelinerRow("Ann", "I &lt;3 you")},
        {.name = "a DataPath without a trailing / runs into the file name",
            .files = {{"wall-oneliner.dat", Oneliners({{"from the prefix", "Ann"}})},
                Wall({{"from the directory", "Bob"}})},
            .dataPath = "{dir}/wall-",
            .rows = OnelinerRow("Ann", "from the prefix")},
        {.name = "a missing file: no output at all", .header = false, .footer = false},
        {.name = "a directory in its place: no output at all",
            .setUp = [](const ProgramSandbox& sandbox) {
                std::filesystem::create_directory(sandbox.Directory() / "oneliner.dat");
            },
            .header = false,
            .footer = false},
        {.name = "a FIFO in its place: no output at all, and no wait",
            .setUp = [](const ProgramSandbox& sandbox) {
                ASSERT_EQ(::mkfifo((sandbox.Directory() / "oneliner.dat").c_str(), 0644), 0);
            },
            .header = false,
            .footer = false},
    };
    for (const PageCase& c : cases)
        RunPageCase(Morvane, c);
}
