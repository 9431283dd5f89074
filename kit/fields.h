// fields.h - cleaning and formatting the fields of the BBS's records.
#pragma once

#include <cstdint>

#include "text.h"

// True when every character is a decimal digit; true for the empty text.
bool IsAllDigits(const Text& text);

// Removes the BBS's pipe colour codes: a bar, any character, a digit. The
// scan runs once from left to right and never looks back.
Text StripPipeCodes(const Text& text);

// Two digits at least: 7 gives 07, 123 stays 123.
Text TwoDigitText(std::uint16_t value);

// The fields of an MS-DOS packed date and time, none checked against the
// calendar.
struct DateTimeParts {
    std::uint32_t year;
    std::uint32_t month;
    std::uint32_t day;
    std::uint32_t hour;
    std::uint32_t minute;
    std::uint32_t second;
};

DateTimeParts UnpackDateTime(std::uint32_t packed);

// The date half as month/day/year, two digits each: 11/01/03.
Text PackedDateText(std::uint32_t packed);
