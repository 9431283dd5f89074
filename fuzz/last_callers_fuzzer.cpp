// last_callers_fuzzer.cpp - the last-callers page over any callers.dat.
//
// The input is the whole file. Whatever its length bytes and however it
// ends, the page is the header, one row per whole record, and the footer
// only when no partial record is left at the end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "caller_record.h"
#include "config.h"
#include "fuzz_support.h"
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
    // The third write of a row holds only numbers, so it is never cut; and
    // field text cannot fake its end, since it carries no raw <.
    CheckRecordPage({LastCallersProgram, "callers.dat", CallerRecord::Size, WriteLastCallersPage, "</td></tr>\r\n",
                        {"<td  align=\"left\">", "<td  align=\"center\">", "</td>", "</tr>"}},
        std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
