// page_checks.cpp - frame and escaping properties of a page's rows.
#include "page_checks.h"

#include <cstdint>

#include "fuzz_support.h"
#include "io.h"
#include "page.h"

namespace FuzzSupport {

std::string CapturedHeader(const ProgramText& program)
{
    BeginCapture();
    WritePageHeader(program);
    Check(TakeIoError() == 0, "writing the header failed");
    return TakeCapture();
}

std::string CapturedFooter(const ProgramText& program)
{
    BeginCapture();
    WritePageFooter(program);
    Check(TakeIoError() == 0, "writing the footer failed");
    return TakeCapture();
}

std::size_t CountOf(std::string_view haystack, std::string_view needle)
{
    std::size_t count = 0;
    for (std::size_t at = haystack.find(needle); at != std::string_view::npos; at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

static bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

void CheckRowMarkup(std::string_view rows, std::initializer_list<std::string_view> tags)
{
    static constexpr std::string_view Entities[] = {"&amp;", "&lt;", "&gt;", "&quot;"};
    std::size_t at = 0;
    while (at < rows.size()) {
        std::string_view rest = rows.substr(at);
        char c = rows[at];
        if (c == '<') {
            std::size_t length = 0;
            for (std::string_view tag : tags) {
                if (StartsWith(rest, tag))
                    length = tag.size();
            }
            if (length == 0) {
                // A cut tag: a proper prefix of a tag, then the next write's
                // tag or the line end.
                std::size_t next = rest.find('<', 1);
                std::string_view piece = rest.substr(0, next);
                if (piece.size() >= 2 && piece.substr(piece.size() - 2) == "\r\n")
                    piece.remove_suffix(2);
                bool cut = false;
                for (std::string_view tag : tags)
                    cut = cut || (piece.size() < tag.size() && StartsWith(tag, piece));
                Check(cut, "a < in the rows starts no tag", rest.substr(0, 80));
                length = next == std::string_view::npos ? rest.size() : next;
            }
            at += length;
        } else if (c == '&') {
            bool entity = false;
            for (std::string_view name : Entities)
                entity = entity || StartsWith(rest, name);
            Check(entity, "a & in the rows starts no entity", rest.substr(0, 80));
            ++at;
        } else {
            Check(c != '>' && c != '"', "a raw > or \" in field text", rows.substr(at > 40 ? at - 40 : 0, 80));
            ++at;
        }
    }
}

void CheckRecordPage(const RecordPage& page, std::string_view bytes)
{
    const std::string header = CapturedHeader(page.program);
    const std::string footer = CapturedFooter(page.program);
    WriteFile(ScratchDirectory() / page.dataFileName, bytes);

    BeginCapture();
    page.writePage();
    std::int32_t error = TakeIoError();
    std::string written = TakeCapture();

    const bool whole = bytes.size() % page.recordSize == 0;
    Check(error == (whole ? 0 : ShortRecordRead), "the pending error does not match the file's length");
    Check(written.compare(0, header.size(), header) == 0, "the page does not start with its header", written);
    std::string_view rows = std::string_view(written).substr(header.size());
    if (whole) {
        Check(rows.size() >= footer.size() && rows.substr(rows.size() - footer.size()) == footer,
            "a page of whole records lacks its footer", written);
        rows.remove_suffix(footer.size());
    }
    Check(CountOf(rows, page.rowEnd) == bytes.size() / page.recordSize, "not one row per whole record", written);
    CheckRowMarkup(rows, page.tags);
}

} // namespace FuzzSupport
