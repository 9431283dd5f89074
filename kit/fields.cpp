// fields.cpp - pipe codes, two-digit numbers and packed dates.
#include "fields.h"

bool IsAllDigits(const Text& text)
{
    for (int i = 0; i < text.length; ++i) {
        if (text.chars[i] < '0' || text.chars[i] > '9')
            return false;
    }
    return true;
}

Text StripPipeCodes(const Text& text)
{
    Text copy = text;
    std::int32_t position = 1;
    while (position <= copy.length) {
        // The code must lie wholly inside the text; what follows a removed
        // code moves into place and is looked at next.
        if (copy.chars[position - 1] == '|' && position + 2 <= copy.length
            && IsAllDigits(CopyText(copy, position + 2, 1)))
            DeleteText(copy, position, 3);
        else
            ++position;
    }
    return copy;
}

Text TwoDigitText(std::uint16_t value)
{
    Text digits = NumberText(value);
    if (digits.length == 1)
        return ConcatText("0", digits);
    return digits;
}

DateTimeParts UnpackDateTime(std::uint32_t packed)
{
    return {
        ((packed >> 25) & 0x7F) + 1980,
        (packed >> 21) & 0x0F,
        (packed >> 16) & 0x1F,
        (packed >> 11) & 0x1F,
        (packed >> 5) & 0x3F,
        (packed & 0x1F) * 2,
    };
}

Text PackedDateText(std::uint32_t packed)
{
    DateTimeParts parts = UnpackDateTime(packed);
    Text text = TwoDigitText(static_cast<std::uint16_t>(parts.month));
    text = ConcatText(text, "/");
    text = ConcatText(text, TwoDigitText(static_cast<std::uint16_t>(parts.day)));
    text = ConcatText(text, "/");
    return ConcatText(text, CopyText(NumberText(static_cast<std::int32_t>(parts.year)), 3, 2));
}
