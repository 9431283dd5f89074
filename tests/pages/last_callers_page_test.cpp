// last_callers_page_test.cpp - tembrix end to end: callers.dat as a page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "bbs_records.h"
#include "expected_page.h"
#include "page_case.h"

using namespace PageFixture;

namespace {

std::string Callers(std::initializer_list<Caller> records)
{
    std::string bytes;
    for (const Caller& record : records)
        bytes += EncodeCaller(record);
    return bytes;
}

DataFile CallersFile(std::initializer_list<Caller> records)
{
    return {"callers.dat", Callers(records)};
}

const std::uint32_t November2003 = PackDateTime(2003, 11, 1, 12, 34, 56);
const std::uint32_t July1999 = PackDateTime(1999, 7, 4);

} // namespace

TEST(LastCallersPage, OneRowPerRecordInFileOrder)
{
    const Caller ann = {"Ann", "Oslo", "33600", November2003, 1, 41};
    const Caller bob = {"Bob", "Bergen, Norway", "14400", July1999, 2, 42};
    const Caller cy = {"Cy", "", "TELNET", 0, 3, 43};
    const std::string annRow = CallerRow("41", "Ann", "Oslo", "33600", "1", "11/01/03");
    const std::string bobRow = CallerRow("42", "Bob", "Bergen, Norway", "14400", "2", "07/04/99");
    const std::string cyRow = CallerRow("43", "Cy", "", "TELNET", "3", "00/00/80");

    // A user name whose length byte says 255 takes the record's bytes up to
    // byte 255, and the first write is cut after 255 characters, its
    // closing tags with it: 41 characters of markup and "7" leave 213.
    const Caller longName = {{"Zed", 255}, "Oslo", "2400", 0, 1, 7};
    const std::string longNameBytes = EncodeCaller(longName);
    const Caller ampersands = {{std::string(30, '&'), 255}, "Oslo", "2400", 0, 1, 7};
    const std::string ampersandsBytes = EncodeCaller(ampersands);
    // Location and Baud length bytes of 255 stop at the record's end.
    const Caller longLocation = {"Ann", {"Oslo", 255}, "2400", 0, 1, 7};
    const Caller longBaud = {"Ann", "Oslo", {"2400", 255}, 0, 1, 7};

    const PageCase cases[] = {
        {.name = "three records", .files = {CallersFile({ann, bob, cy})}, .rows = annRow + bobRow + cyRow},
        {.name = "an empty file: the frame only", .files = {CallersFile({})}},
        {.name = "two whole records and 100 bytes: two rows, then nothing",
            .files = {{"callers.dat", Callers({ann, bob}) + std::string(100, 'x')}},
            .rows = annRow + bobRow,
            .footer = false},
        {.name = "call number bytes FF FF FF FF are -1",
            .files = {CallersFile({{"Ann", "Oslo", "33600", 0, 1, -1}})},
            .rows = CallerRow("-1", "Ann", "Oslo", "33600", "1", "00/00/80")},
        {.name = "the extreme call numbers",
            .files = {CallersFile({{"Ann", "", "", 0, 1, INT32_MIN}, {"Bob", "", "", 0, 1, INT32_MAX}})},
            .rows = CallerRow("-2147483648", "Ann", "", "", "1", "00/00/80")
                + CallerRow("2147483647", "Bob", "", "", "1", "00/00/80")},
        {.name = "node 0 and node 255",
            .files = {CallersFile({{"Ann", "", "", 0, 0, 1}, {"Bob", "", "", 0, 255, 2}})},
            .rows = CallerRow("1", "Ann", "", "", "0", "00/00/80") + CallerRow("2", "Bob", "", "", "255", "00/00/80")},
        {.name = "a location of pipe codes only: an empty cell",
            .files = {CallersFile({{"Ann", "|07|15|a1", "33600", 0, 1, 1}})},
            .rows = CallerRow("1", "Ann", "", "33600", "1", "00/00/80")},
        {.name = "pipe codes kept in the user name and the baud, removed from the location",
            .files = {CallersFile({{"|12Ann", "|07Oslo|15!", "|14400", 0, 1, 1}})},
            .rows = CallerRow("1", "|12Ann", "Oslo!", "|14400", "1", "00/00/80")},
        {.name = "the whole date field: month, day, year; the time not shown",
            .files = {CallersFile({{"Ann", "", "", 0xFFFFFFFF, 1, 1}})},
            .rows = CallerRow("1", "Ann", "", "", "1", "15/31/07")},
        {.name = "a user name length byte of 255: write 1 cut, write 2 on the same line",
            .files = {CallersFile({longName})},
            .rows = Cut(CallerWrite1("7", longNameBytes.substr(1, 255))) + CallerWrite2("Oslo", "2400")
                + CallerWrite3("1", "00/00/80") + LineEnd},
        {.name = "the cut counts characters as stored: no entity is split",
            .files = {CallersFile({ampersands})},
            .rows = R"(<td  align="left">7</td><td  align="left">)" + Repeat("&amp;", 30)
                + ampersandsBytes.substr(31, 183) + CallerWrite2("Oslo", "2400") + CallerWrite3("1", "00/00/80")
                + LineEnd},
        {.name = "a location length byte of 255 stops at the record's end",
            .files = {CallersFile({longLocation})},
            .rows = CallerWrite1("7", "Ann") + Cut(CallerWrite2(EncodeCaller(longLocation).substr(32, 247), "2400"))
                + CallerWrite3("1", "00/00/80") + LineEnd},
        {.name = "a baud length byte of 255 stops at the record's end",
            .files = {CallersFile({longBaud})},
            .rows = CallerRow("7", "Ann", "Oslo", EncodeCaller(longBaud).substr(89, 190), "1", "00/00/80")},
        {.name = "markup characters escaped in name, location and baud",
            .files = {CallersFile({{"<b>Ann & \"Bo\"</b>", "<i>Oslo</i>", "<>&\"", 0, 1, 1}})},
            .rows = CallerRow("1", "&lt;b&gt;Ann &amp; &quot;Bo&quot;&lt;/b&gt;", "&lt;i&gt;Oslo&lt;/i&gt;",
                "&lt;&gt;&amp;&quot;", "1", "00/00/80")},
        {.name = "a DataPath without a trailing / runs into the file name",
            .files = {{"bbs-callers.dat", Callers({ann})}, CallersFile({bob})},
            .dataPath = "{dir}/bbs-",
            .rows = annRow},
        {.name = "a missing file: no output at all", .header = false, .footer = false},
        {.name = "a directory in its place: no output at all",
            .setUp = [](const ProgramSandbox& sandbox) {
                std::filesystem::create_directory(sandbox.Directory() / "callers.dat");
            },
            .header = false,
            .footer = false},
        {.name = "a FIFO in its place: no output at all, and no wait",
            .setUp = [](const ProgramSandbox& sandbox) {
                ASSERT_EQ(::mkfifo((sandbox.Directory() / "callers.dat").c_str(), 0644), 0);
            },
            .header = false,
            .footer = false},
    };
    for (const PageCase& c : cases)
        RunPageCase(Tembrix, c);
}
