#include <gtest/gtest.h>
#include "bbs_records.h"
TEST(Smoke, Encodes) { EXPECT_EQ(EncodeCaller({}).size(), 279u); }
