#include "platform/wait.h"

#include <chrono>

#include <gtest/gtest.h>

namespace tarnwick::platform {
namespace {

using Clock = std::chrono::steady_clock;

TEST(WaitMilliseconds, ReturnsZeroOnceTheTimeHasPassed) {
  Clock::time_point start = Clock::now();
  EXPECT_EQ(WaitMilliseconds(100), 0);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
}

TEST(WaitMilliseconds, ShortPausesStillLastTheirTime) {
  Clock::time_point start = Clock::now();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(WaitMilliseconds(25), 0);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
}

TEST(WaitMilliseconds, NothingToWaitForReturnsZero) {
  EXPECT_EQ(WaitMilliseconds(0), 0);
  EXPECT_EQ(WaitMilliseconds(-5), 0);
}

}  // namespace
}  // namespace tarnwick::platform
