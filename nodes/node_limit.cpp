// node_limit.cpp - the number that ends the node loop.
#include "node_limit.h"

std::uint8_t NodeLoopLimit(const Text& nodeLimit)
{
    std::int32_t limit = ParseNumber(nodeLimit).value;
    if (limit < 0 || limit > 255)
        return 0;
    return static_cast<std::uint8_t>(limit);
}
