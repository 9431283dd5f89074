// oneliners_fuzzer.cpp - the oneliners page over any oneliner.dat.
//
// The input is the whole file: header, one row per whole record, and the
// footer only when the file ends on a record boundary.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config.h"
#include "fuzz_support.h"
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
    // Both fields end at the record's end at the latest, so no write reaches
    // the cut and every row keeps its closing tags.
    CheckRecordPage({OnelinersProgram, "oneliner.dat", OnelinerRecord::Size, WriteOnelinersPage, "</td></TR>\r\n",
                        {"<td  align=\"left\">", "</td>", "</TR>"}},
        std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
