// node_limit_test.cpp - the limit that ends the node loop.
#include <gtest/gtest.h>

#include "node_limit.h"

namespace {

TEST(NodeLoopLimit, NumbersOutsideTheCounterCountAsZero)
{
    struct Case {
        const char* name;
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"five", "5", 5},
        {"leading blanks are skipped", "  5", 5},
        {"a trailing blank makes no number", "5 ", 0},
        {"empty", "", 0},
        {"not a number", "abc", 0},
        {"one: node 0 comes last", "1", 1},
        {"largest the counter reaches", "255", 255},
        {"past the counter", "256", 0},
        {"far past the counter", "300", 0},
        {"negative", "-1", 0},
        {"hexadecimal", "$10", 16},
        {"too large for a number", "99999999999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NodeLoopLimit(c.text), c.expected);
    }
}

} // namespace
