// last_callers_fuzzer.cpp - the last-callers page over any callers.dat.
//
// The input is the whole file. Whatever its length bytes and however it
// ends, the page is the header, one row per whole record, and the footer
// only when no partial record is left at the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "caller_record.h"
#include "config.h"
#include "fuzz_support.h"
#include "io.h"
#include "last_callers_page.h"
#include "page_checks.h"
#include "program.h"

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        BoardName = "Fuzz <b>BBS</b>";
        DataPath = ScratchDataPath();
        return true;
    }();
    (void)ready;
    static const std::string header = CapturedHeader(LastCallersProgram);
    static const std::string footer = CapturedFooter(LastCallersProgram);

    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    WriteFile(ScratchDirectory() / "callers.dat", bytes);

    BeginCapture();
    WriteLastCallersPage();
    std::int32_t error = TakeIoError();
    std::string page = TakeCapture();

    const bool whole = size % CallerRecord::Size == 0;
    Check(error == (whole ? 0 : ShortRecordRead), "the pending error does not match the file's length");
    Check(page.compare(0, header.size(), header) == 0, "the page does not start with its header", page);
    std::string_view rows = std::string_view(page).substr(header.size());
    if (whole) {
        Check(rows.size() >= footer.size() && rows.substr(rows.size() - footer.size()) == footer,
            "a page of whole records lacks its footer", page);
        rows.remove_suffix(footer.size());
    }
    // The third write of a row holds only numbers, so it is never cut; and
    // field text cannot fake it, since it carries no raw <.
    Check(CountOf(rows, "</td></tr>\r\n") == size / CallerRecord::Size, "not one row per whole record", page);
    CheckRowMarkup(rows, {"<td  align=\"left\">", "<td  align=\"center\">", "</td>", "</tr>"});
    return 0;
}
