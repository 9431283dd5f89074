#include <gtest/gtest.h>
#include "text.h"
TEST(Smoke, Builds) { EXPECT_EQ(NumberText(-5), Text("-5")); }
