// oneliner_record.h - one record of oneliner.dat, as the BBS lays it out.
#pragma once

#include <cstddef>

struct OnelinerRecord {
    static constexpr std::size_t Size = 111;
    static constexpr std::size_t WordsOffset = 0;   // counted string, room 80
    static constexpr std::size_t HandleOffset = 80; // counted string, room 31

    unsigned char bytes[Size];
};
