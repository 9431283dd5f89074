// parse_number_fuzzer.cpp - ParseNumber over any text, and NumberText read back.
//
// The first four bytes, as a 32-bit value v, must read back from its
// decimal text (with or without leading spaces) and from its eight-digit
// hexadecimal text, with error position 0. The whole input, as a text, is
// checked against the number rules worked out in 64-bit arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "text.h"

using namespace FuzzSupport;

namespace {

void CheckReadsBack(const std::string& text, std::int32_t value)
{
    ParsedNumber parsed = ParseNumber(ToText(text));
    Check(parsed.errorPosition == 0 && parsed.value == value, "a number's text does not read back", text);
}

int DigitOf(char c, bool hexadecimal)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hexadecimal && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hexadecimal && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Leading spaces, a sign, "$" for hexadecimal, then digits to the end; a
// decimal magnitude up to 2^31 - 1 (2^31 after a minus), a hexadecimal one
// of at most eight significant digits.
ParsedNumber Expected(std::string_view text)
{
    const auto length = static_cast<std::int32_t>(text.size());
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    bool hexadecimal = false;
    if (at < text.size() && text[at] == '$') {
        hexadecimal = true;
        ++at;
    }
    if (at == text.size())
        return {0, length + 1};
    const std::int64_t limit = hexadecimal ? 0xFFFFFFFFll : (negative ? 2147483648ll : 2147483647ll);
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        int digit = DigitOf(text[at], hexadecimal);
        if (digit < 0)
            return {0, static_cast<std::int32_t>(at + 1)};
        value = value * (hexadecimal ? 16 : 10) + digit;
        if (value > limit)
            return {0, static_cast<std::int32_t>(at + 1)};
    }
    auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<std::int32_t>(negative ? 0u - bits : bits), 0};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, data, size < 4 ? size : 4);
    const auto value = static_cast<std::int32_t>(bits);
    const std::string decimal = FromText(NumberText(value));
    CheckReadsBack(decimal, value);
    CheckReadsBack("   " + decimal, value);
    char hexadecimal[16];
    std::snprintf(hexadecimal, sizeof hexadecimal, "$%08X", static_cast<unsigned>(bits));
    CheckReadsBack(hexadecimal, value);
    if (value >= 0)
        CheckReadsBack("+" + decimal, value);

    std::string_view text(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
    ParsedNumber parsed = ParseNumber(ToText(text));
    ParsedNumber expected = Expected(text);
    Check(parsed.errorPosition == expected.errorPosition, "the error position differs", text);
    Check(parsed.value == expected.value, "the value differs", text);
    return 0;
}
