// text.cpp - composing, cutting and converting texts.
#include "text.h"

Text ConcatText(const Text& a, const Text& b)
{
    Text result = a;
    result.Append(b.chars, b.length);
    return result;
}

Text CopyText(const Text& text, std::int32_t index, std::int32_t count)
{
    if (index < 1)
        index = 1;
    if (count < 0)
        count = 0;
    Text result;
    if (index > text.length)
        return result;
    std::int32_t available = text.length - index + 1;
    result.Assign(text.chars + index - 1, static_cast<std::size_t>(count < available ? count : available));
    return result;
}

void DeleteText(Text& text, std::int32_t index, std::int32_t count)
{
    if (count < 1 || index < 1 || index > text.length)
        return;
    std::int32_t after = text.length - index + 1; // characters from index on
    if (count >= after) {
        text.length = static_cast<std::uint8_t>(index - 1);
        return;
    }
    std::memmove(text.chars + index - 1, text.chars + index - 1 + count, static_cast<std::size_t>(after - count));
    text.length = static_cast<std::uint8_t>(text.length - count);
}

Text NumberText(std::int32_t value)
{
    // Work on the magnitude as unsigned so that -2147483648 has one; the
    // digits are made from the right, after room for a sign.
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char digits[11];
    std::size_t first = sizeof digits;
    do {
        digits[--first] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--first] = '-';

    Text result;
    result.Assign(digits + first, sizeof digits - first);
    return result;
}

static int DigitValue(char c, bool hexadecimal)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hexadecimal && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (hexadecimal && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

ParsedNumber ParseNumber(const Text& text)
{
    std::int32_t length = text.length;
    std::int32_t i = 0; // index of the next character, from 0
    while (i < length && text.chars[i] == ' ')
        ++i;

    bool negative = false;
    if (i < length && (text.chars[i] == '+' || text.chars[i] == '-')) {
        negative = text.chars[i] == '-';
        ++i;
    }

    bool hexadecimal = false;
    if (i < length && text.chars[i] == '$') {
        hexadecimal = true;
        ++i;
    }

    // At least one digit must follow.
    if (i == length)
        return {0, length + 1};

    // The most negative number has no positive counterpart, so a minus sign
    // allows one more, and every NumberText reads back as its value.
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    std::uint32_t value = 0;
    for (; i < length; ++i) {
        int digit = DigitValue(text.chars[i], hexadecimal);
        if (digit < 0)
            return {0, i + 1};
        if (hexadecimal) {
            if (value >= 0x10000000u)
                return {0, i + 1};
            value = value * 16 + static_cast<std::uint32_t>(digit);
        } else {
            if (value > (limit - static_cast<std::uint32_t>(digit)) / 10)
                return {0, i + 1};
            value = value * 10 + static_cast<std::uint32_t>(digit);
        }
    }
    // Hexadecimal values of 2^31 and more stand for the negative number with
    // the same bits; the conversion is modular since C++20.
    return {static_cast<std::int32_t>(negative ? 0u - value : value), 0};
}
