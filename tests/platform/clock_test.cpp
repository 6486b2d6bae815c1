#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tarnwick::platform {
namespace {

TEST(ManualClock, StandsStillUntilSetOrMoved) {
  const DateTime start = DateTime::FromParts(2026, 12, 7, 7, 3, 15);
  ManualClock clock(start);
  EXPECT_EQ(clock.Now(), start);
  EXPECT_EQ(clock.Now(), start);
  clock.AdvanceMinutes(15);
  EXPECT_EQ(clock.Now(), DateTime::FromParts(2026, 12, 7, 7, 18, 15));
  clock.Set(DateTime::FromParts(2003, 6, 10, 4, 0, 0));
  EXPECT_EQ(clock.Now(), DateTime::FromParts(2003, 6, 10, 4, 0, 0));
}

TEST(ManualClock, NeverShowsAnInvalidTime) {
  ManualClock clock(DateTime::FromParts(9999, 12, 31, 23, 50, 0));
  clock.AdvanceMinutes(60);
  EXPECT_EQ(clock.Now(), DateTime::FromParts(9999, 12, 31, 23, 50, 0));
  clock.Set(DateTime());
  EXPECT_TRUE(clock.Now().IsValid());
  EXPECT_TRUE(ManualClock(DateTime()).Now().IsValid());
}

TEST(SystemClock, ReadsTheCurrentLocalTime) {
  // Bracketed by readings of the clock it reads itself: std::time() reads a coarser clock that
  // can lag the system clock by a tick, so its second could still be the one before.
  SystemClock clock;
  const DateTime before = DateTime::FromTimePoint(std::chrono::system_clock::now());
  const DateTime now = clock.Now();
  const DateTime after = DateTime::FromTimePoint(std::chrono::system_clock::now());
  EXPECT_LE(before, now);
  EXPECT_LE(now, after);
}

}  // namespace
}  // namespace tarnwick::platform
