// record_fields.h - reading the fields out of a record as the BBS stores them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text.h"

// The counted string whose length byte stands at offset. A length byte that
// reaches past the record's end gives the text up to the record's end:
// nothing outside the record is ever read.
template <std::size_t RecordSize>
Text FieldText(const unsigned char (&record)[RecordSize], std::size_t offset)
{
    Text text;
    if (offset >= RecordSize)
        return text;
    std::size_t available = RecordSize - offset - 1;
    std::size_t length = record[offset];
    text.Assign(reinterpret_cast<const char*>(record + offset + 1), length < available ? length : available);
    return text;
}

// Integers are stored little-endian.
template <std::size_t RecordSize>
std::uint32_t FieldUint32(const unsigned char (&record)[RecordSize], std::size_t offset)
{
    static_assert(RecordSize >= 4);
    return static_cast<std::uint32_t>(record[offset]) | static_cast<std::uint32_t>(record[offset + 1]) << 8
        | static_cast<std::uint32_t>(record[offset + 2]) << 16 | static_cast<std::uint32_t>(record[offset + 3]) << 24;
}
