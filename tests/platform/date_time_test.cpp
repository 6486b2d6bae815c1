#include "platform/date_time.h"
#include "support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace tarnwick::platform {
namespace {

struct KnownDay {
  int year, month, day;
  double days;    // the OLE day count of midnight
  int dayOfWeek;  // 1 = Sunday
};

TEST(DateTime, CountsDaysLikeTheOleDate) {
  const KnownDay known[] = {
      {1899, 12, 30, 0, 7},    {1899, 12, 31, 1, 1},    {1900, 1, 1, 2, 2},       {1900, 3, 1, 61, 5},
      {2000, 1, 1, 36526, 7},  {2003, 6, 10, 37782, 3}, {2003, 12, 13, 37968, 7}, {1970, 1, 1, 25569, 5},
      {2026, 12, 7, 46363, 2}, {1776, 7, 4, -45103, 5}, {100, 1, 1, -657434, 6},  {9999, 12, 31, 2958465, 6},
  };
  for (const KnownDay& k : known) {
    DateTime date = DateTime::FromParts(k.year, k.month, k.day, 0, 0, 0);
    SCOPED_TRACE(std::to_string(k.year) + "-" + std::to_string(k.month) + "-" + std::to_string(k.day));
    ASSERT_TRUE(date.IsValid());
    EXPECT_EQ(date.Days(), k.days);
    EXPECT_EQ(date.DayOfWeek(), k.dayOfWeek);
    DateTime back = DateTime::FromDays(k.days);
    EXPECT_EQ(back, date);
    EXPECT_EQ(back.Year(), k.year);
    EXPECT_EQ(back.Month(), k.month);
    EXPECT_EQ(back.Day(), k.day);
  }
}

TEST(DateTime, TimeOfDayIsTheFraction) {
  DateTime date = DateTime::FromParts(2003, 6, 10, 4, 0, 0);
  EXPECT_DOUBLE_EQ(date.Days(), 37782.0 + 4.0 / 24.0);
  DateTime read = DateTime::FromDays(37782.770833333);  // 18:30:00, rounded to the second
  EXPECT_EQ(read.Hour(), 18);
  EXPECT_EQ(read.Minute(), 30);
  EXPECT_EQ(read.Second(), 0);
  // Before the epoch the count runs on linearly: three quarters of a day back is 06:00 the day before.
  DateTime before = DateTime::FromDays(-0.75);
  EXPECT_EQ(before.Day(), 29);
  EXPECT_EQ(before.Hour(), 6);
}

// Every day of eight centuries, including the century leap rules of 1700, 1800, 1900, 2000,
// 2100: the count goes up by one, the weekday turns over by one and the parts read back.
TEST(DateTime, ConsecutiveDaysCountUpAndCycleTheWeek) {
  DateTime previous = DateTime::FromParts(1600, 1, 1, 12, 0, 0);
  int daysSeen = 0;
  for (int year = 1600; year <= 2400; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 31; ++day) {
        DateTime date = DateTime::FromParts(year, month, day, 12, 0, 0);
        if (!date.IsValid()) continue;
        ++daysSeen;
        if (daysSeen == 1) continue;
        ASSERT_EQ(date.Days(), previous.Days() + 1) << year << "-" << month << "-" << day;
        ASSERT_EQ(date.DayOfWeek(), previous.DayOfWeek() % 7 + 1);
        ASSERT_EQ(date.Year(), year);
        ASSERT_EQ(date.Month(), month);
        ASSERT_EQ(date.Day(), day);
        previous = date;
      }
    }
  }
  // 801 years of 365 days plus the leap days: 97 in each of two full 400-year cycles, and 2400.
  EXPECT_EQ(daysSeen, 801 * 365 + 2 * 97 + 1);
}

TEST(DateTime, LeapDaysFollowTheGregorianRules) {
  EXPECT_TRUE(DateTime::FromParts(2000, 2, 29, 0, 0, 0).IsValid());
  EXPECT_TRUE(DateTime::FromParts(2004, 2, 29, 0, 0, 0).IsValid());
  EXPECT_TRUE(DateTime::FromParts(2400, 2, 29, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(1900, 2, 29, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 2, 29, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2100, 2, 29, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2004, 2, 30, 0, 0, 0).IsValid());
}

TEST(DateTime, PartsOutOfRangeGiveAnInvalidValue) {
  EXPECT_FALSE(DateTime::FromParts(2003, 0, 1, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 13, 1, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 4, 31, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 4, 0, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 4, 1, 24, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 4, 1, 0, 60, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 4, 1, 0, 0, 60).IsValid());
  EXPECT_FALSE(DateTime::FromParts(2003, 4, 1, -1, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromParts(99, 12, 31, 23, 59, 59).IsValid());
  EXPECT_FALSE(DateTime::FromParts(10000, 1, 1, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime::FromDays(-657435).IsValid());
  EXPECT_FALSE(DateTime::FromDays(2958466).IsValid());
  EXPECT_FALSE(DateTime::FromDays(std::nan("")).IsValid());
  EXPECT_FALSE(DateTime::FromDays(std::numeric_limits<double>::infinity()).IsValid());
  EXPECT_FALSE(DateTime::FromDays(1e300).IsValid());
}

TEST(DateTime, AnInvalidValueHasNoPartsAndIsEarlierThanAnyDate) {
  DateTime invalid;
  EXPECT_FALSE(invalid.IsValid());
  EXPECT_EQ(invalid.Year(), -1);
  EXPECT_EQ(invalid.DayOfWeek(), -1);
  EXPECT_EQ(invalid.Days(), 0);
  EXPECT_EQ(invalid, DateTime::FromParts(2003, 2, 30, 0, 0, 0));
  EXPECT_LT(invalid, DateTime::FromParts(100, 1, 1, 0, 0, 0));
  EXPECT_FALSE(invalid > DateTime::FromDays(0));
  EXPECT_FALSE(invalid.AddMinutes(5).IsValid());
}

TEST(DateTime, ComparesByTimeToTheSecond) {
  DateTime a = DateTime::FromParts(2003, 6, 10, 4, 0, 0);
  DateTime b = DateTime::FromParts(2003, 6, 10, 4, 0, 1);
  EXPECT_LT(a, b);
  EXPECT_GT(b, a);
  EXPECT_EQ(a, DateTime::FromParts(2003, 6, 10, 4, 0, 0));
  EXPECT_LT(DateTime::FromParts(1899, 12, 29, 23, 59, 59), DateTime::FromDays(0));
}

TEST(DateTime, AddingMinutesCrossesDaysMonthsYearsAndLeapDays) {
  DateTime leap = DateTime::FromParts(2004, 2, 28, 23, 30, 15).AddMinutes(60);
  EXPECT_EQ(leap, DateTime::FromParts(2004, 2, 29, 0, 30, 15));
  EXPECT_EQ(DateTime::FromParts(2003, 2, 28, 23, 30, 0).AddMinutes(60), DateTime::FromParts(2003, 3, 1, 0, 30, 0));
  EXPECT_EQ(DateTime::FromParts(2003, 12, 31, 23, 59, 0).AddMinutes(1), DateTime::FromParts(2004, 1, 1, 0, 0, 0));
  EXPECT_EQ(DateTime::FromParts(2004, 1, 1, 0, 0, 0).AddMinutes(-1), DateTime::FromParts(2003, 12, 31, 23, 59, 0));
  EXPECT_EQ(DateTime::FromParts(2003, 6, 10, 4, 0, 0).AddMinutes(15 * 1440), DateTime::FromParts(2003, 6, 25, 4, 0, 0));
  EXPECT_FALSE(DateTime::FromParts(9999, 12, 31, 23, 59, 0).AddMinutes(1).IsValid());
  EXPECT_FALSE(DateTime::FromParts(100, 1, 1, 0, 0, 0).AddMinutes(-1).IsValid());
  EXPECT_FALSE(DateTime::FromDays(0).AddMinutes(std::numeric_limits<int64_t>::max()).IsValid());
  EXPECT_FALSE(DateTime::FromDays(0).AddMinutes(std::numeric_limits<int64_t>::min()).IsValid());
}

using test::ScopedTimeZone;

TEST(DateTime, InstantsReadAsLocalWallClockTime) {
  // A zone with daylight time that every runtime knows: the C runtime of Windows reads no POSIX
  // rules after the names, and takes the United States' for a zone that has a daylight name.
  ScopedTimeZone zone("EST5EDT");
  // 2003-06-10 04:00:00 UTC is midnight in New York's summer time.
  DateTime summer = DateTime::FromTimeT(1055217600);
  EXPECT_EQ(summer, DateTime::FromParts(2003, 6, 10, 0, 0, 0));
  // 2003-12-13 18:30:02 UTC is 13:30:02 in winter time.
  EXPECT_EQ(DateTime::FromTimeT(1071340202), DateTime::FromParts(2003, 12, 13, 13, 30, 2));
  auto instant = std::chrono::system_clock::from_time_t(1071340202) + std::chrono::milliseconds(999);
  EXPECT_EQ(DateTime::FromTimePoint(instant), DateTime::FromParts(2003, 12, 13, 13, 30, 2));
}

}  // namespace
}  // namespace tarnwick::platform
