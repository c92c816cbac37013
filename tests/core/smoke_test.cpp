#include <gtest/gtest.h>

#include "session/session.h"

TEST(Smoke, SessionStartsEmpty) {
  auto s = halvane::MakeSession();
  EXPECT_EQ(s->PointCount, 0u);
}
