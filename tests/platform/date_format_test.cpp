#include "platform/date_format.h"

#include <gtest/gtest.h>

namespace tarnwick::platform {
namespace {

TEST(DateFormat, StoredPatternPadsEveryPartButTheYear) {
  EXPECT_EQ(FormatDate(DateTime::FromParts(2003, 6, 10, 4, 0, 0), "%m/%d/%Y %H:%M:%S"), "06/10/2003 04:00:00");
  EXPECT_EQ(FormatDate(DateTime::FromParts(2003, 12, 13, 18, 30, 2), "%m/%d/%Y %H:%M:%S"), "12/13/2003 18:30:02");
  EXPECT_EQ(FormatDate(DateTime::FromParts(100, 1, 1, 0, 0, 0), "%m/%d/%Y %H:%M:%S"), "01/01/100 00:00:00");
}

TEST(DateFormat, NamesAndTwelveHourDirectivesAreEnglish) {
  DateTime evening = DateTime::FromParts(2003, 6, 10, 21, 5, 9);
  EXPECT_EQ(FormatDate(evening, "%a %A %b %B %y %I %p"), "Tue Tuesday Jun June 03 09 PM");
  EXPECT_EQ(FormatDate(DateTime::FromParts(2000, 1, 2, 0, 0, 0), "%I %p %a"), "12 AM Sun");
  EXPECT_EQ(FormatDate(DateTime::FromParts(2000, 9, 2, 12, 0, 0), "%I %p %B"), "12 PM September");
}

TEST(DateFormat, UnknownDirectivesAndPercentSignsAreKept) {
  DateTime date = DateTime::FromParts(2003, 6, 10, 4, 0, 0);
  EXPECT_EQ(FormatDate(date, "100%% at %Q%"), "100% at %Q%");
  EXPECT_EQ(FormatDate(date, ""), "");
}

TEST(DateFormat, LocaleFormDropsLeadingZerosAndUsesTwelveHours) {
  EXPECT_EQ(FormatLocaleDate(DateTime::FromParts(2026, 12, 7, 7, 3, 15)), "12/7/2026 7:03:15 AM");
  EXPECT_EQ(FormatLocaleDate(DateTime::FromParts(2003, 6, 10, 0, 0, 0)), "6/10/2003 12:00:00 AM");
  EXPECT_EQ(FormatLocaleDate(DateTime::FromParts(2003, 6, 10, 12, 0, 5)), "6/10/2003 12:00:05 PM");
  EXPECT_EQ(FormatLocaleDate(DateTime::FromParts(2003, 6, 1, 23, 59, 59)), "6/1/2003 11:59:59 PM");
  EXPECT_EQ(FormatLocaleDate(DateTime::FromDays(0)), "12/30/1899 12:00:00 AM");
}

TEST(DateFormat, InvalidDatesFormatAsEmptyTexts) {
  EXPECT_EQ(FormatDate(DateTime(), "%m/%d/%Y %H:%M:%S"), "");
  EXPECT_EQ(FormatLocaleDate(DateTime()), "");
}

}  // namespace
}  // namespace tarnwick::platform
