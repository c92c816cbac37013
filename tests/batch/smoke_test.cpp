#include <gtest/gtest.h>

TEST(BatchSmoke, Builds) { SUCCEED(); }
