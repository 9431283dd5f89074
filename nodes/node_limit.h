// node_limit.h - the number that ends the node loop.
#pragma once

#include <cstdint>

#include "text.h"

// The node counter is 8 bits and the loop ends when it equals the limit, so
// a limit outside 0 to 255 would never end it: such a limit, like text that
// is no number, counts as 0 and visits nodes 1 to 255 once.
std::uint8_t NodeLoopLimit(const Text& nodeLimit);
