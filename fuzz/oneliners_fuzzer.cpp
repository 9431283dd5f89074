// oneliners_fuzzer.cpp - the oneliners page over any oneliner.dat.
//
// The input is the whole file: header, one row per whole record, and the
// footer only when the file ends on a record boundary.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config.h"
#include "fuzz_support.h"
#include "io.h"
#include "oneliner_record.h"
#include "oneliners_page.h"
#include "page_checks.h"
#include "program.h"

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        BoardName = "Fuzz BBS";
        DataPath = ScratchDataPath();
        return true;
    }();
    (void)ready;
    static const std::string header = CapturedHeader(OnelinersProgram);
    static const std::string footer = CapturedFooter(OnelinersProgram);

    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    WriteFile(ScratchDirectory() / "oneliner.dat", bytes);

    BeginCapture();
    WriteOnelinersPage();
    std::int32_t error = TakeIoError();
    std::string page = TakeCapture();

    const bool whole = size % OnelinerRecord::Size == 0;
    Check(error == (whole ? 0 : ShortRecordRead), "the pending error does not match the file's length");
    Check(page.compare(0, header.size(), header) == 0, "the page does not start with its header", page);
    std::string_view rows = std::string_view(page).substr(header.size());
    if (whole) {
        Check(rows.size() >= footer.size() && rows.substr(rows.size() - footer.size()) == footer,
            "a page of whole records lacks its footer", page);
        rows.remove_suffix(footer.size());
    }
    // Both fields end at the record's end at the latest, so no write reaches
    // the cut and every row keeps its closing tags.
    Check(CountOf(rows, "</td></TR>\r\n") == size / OnelinerRecord::Size, "not one row per whole record", page);
    CheckRowMarkup(rows, {"<td  align=\"left\">", "</td>", "</TR>"});
    return 0;
}
