// node_record.h - the first record of a chat<N>.dat file: one node's state.
#pragma once

#include <cstddef>

struct NodeRecord {
    static constexpr std::size_t Size = 117;
    static constexpr std::size_t InUseOffset = 0;     // 0 while the node waits for a call
    static constexpr std::size_t HandleOffset = 1;    // counted string, room 31
    static constexpr std::size_t ActivityOffset = 32; // counted string, room 41
    static constexpr std::size_t LocationOffset = 73; // counted string, room 44

    unsigned char bytes[Size];
};
