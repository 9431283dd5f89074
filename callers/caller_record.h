// caller_record.h - one record of callers.dat, as the BBS lays it out.
#pragma once

#include <cstddef>

struct CallerRecord {
    static constexpr std::size_t Size = 279;
    // Offsets of the fields the page shows; the other bytes are not read.
    static constexpr std::size_t UserNameOffset = 0;   // counted string, room 31
    static constexpr std::size_t LocationOffset = 31;  // counted string, room 57
    static constexpr std::size_t BaudOffset = 88;      // counted string, room 7
    static constexpr std::size_t DateTimeOffset = 95;  // packed date and time, 4 bytes
    static constexpr std::size_t NodeOffset = 99;      // unsigned byte
    static constexpr std::size_t CallNumberOffset = 100; // signed 32-bit

    unsigned char bytes[Size];
};
