// pipe_codes_fuzzer.cpp - the properties of StripPipeCodes that hold for any text.
//
// Stripping twice can remove more (|x|y12 gives |x2, which gives nothing),
// so it is not idempotent. What holds: the result is never longer, shrinks
// by whole codes, keeps the argument's characters in order, leaves a text
// without a bar or without a digit alone, and, since the scan never looks
// back, a text split where the stripped first part does not end in a bar
// strips part by part.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fields.h"
#include "fuzz_support.h"

using namespace FuzzSupport;

namespace {

std::string Strip(std::string_view text)
{
    return FromText(StripPipeCodes(ToText(text)));
}

bool IsSubsequence(std::string_view part, std::string_view whole)
{
    std::size_t at = 0;
    for (char c : whole) {
        if (at < part.size() && part[at] == c)
            ++at;
    }
    return at == part.size();
}

bool EndsInBar(const std::string& text)
{
    std::size_t size = text.size();
    return (size >= 1 && text[size - 1] == '|') || (size >= 2 && text[size - 2] == '|');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses where to split the rest.
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1 < 255 ? size - 1 : 255);
    std::size_t split = data[0] % (text.size() + 1);

    std::string stripped = Strip(text);
    Check(stripped.size() <= text.size(), "stripping made the text longer", text);
    Check((text.size() - stripped.size()) % 3 == 0, "stripping removed part of a code", text);
    Check(IsSubsequence(stripped, text), "stripping changed or reordered characters", text);
    if (text.find('|') == std::string_view::npos || text.find_first_of("0123456789") == std::string_view::npos)
        Check(stripped == text, "a text that can hold no code changed", text);

    std::string head = Strip(text.substr(0, split));
    if (!EndsInBar(head))
        Check(stripped == head + Strip(text.substr(split)), "stripping does not split", text);
    return 0;
}
