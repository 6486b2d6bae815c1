#include "platform/date_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/date_format.h"

namespace tarnwick::platform {
namespace {

struct Accepted {
  const char* text;
  int year, month, day, hour, minute, second;
};

class DateParserAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(DateParserAccepts, TheShape) {
  const Accepted& c = GetParam();
  std::optional<DateTime> parsed = ParseDate(c.text);
  ASSERT_TRUE(parsed.has_value()) << c.text;
  EXPECT_EQ(*parsed, DateTime::FromParts(c.year, c.month, c.day, c.hour, c.minute, c.second))
      << c.text << " read as " << FormatDate(*parsed, "%Y-%m-%d %H:%M:%S");
}

INSTANTIATE_TEST_SUITE_P(TheProgramsOwnForms, DateParserAccepts,
                         testing::Values(Accepted{"6/10/2003 04:00:00", 2003, 6, 10, 4, 0, 0},   // parseable form
                                         Accepted{"06/10/2003 04:00:00", 2003, 6, 10, 4, 0, 0},  // stored form
                                         Accepted{"12/06/2003 18:30:00", 2003, 12, 6, 18, 30, 0},
                                         Accepted{"12/7/2026 7:03:15 AM", 2026, 12, 7, 7, 3, 15},  // locale form
                                         Accepted{"12/7/2026 7:03:15 PM", 2026, 12, 7, 19, 3, 15},
                                         Accepted{"1/1/2000 12:00:00 AM", 2000, 1, 1, 0, 0, 0},
                                         Accepted{"1/1/2000 12:30:00 pm", 2000, 1, 1, 12, 30, 0},
                                         Accepted{"1/1/1970 11:10:00", 1970, 1, 1, 11, 10,
                                                  0},  // default last-article date
                                         Accepted{"  6/10/2003 04:00:00\r\n", 2003, 6, 10, 4, 0, 0}));

INSTANTIATE_TEST_SUITE_P(MailStyleTexts, DateParserAccepts,
                         testing::Values(Accepted{"Tue, 10 Jun 2003 04:00:00 GMT", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 -0500", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 +0000", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 UT", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 EST", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 +05:30", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 Z", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 GMT+0100", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Tue, 10 Jun 2003 04:00:00 -0800 (PST)", 2003, 6, 10, 4, 0, 0},
                                         Accepted{"Fri,  3 Mar 2006 08:00:00 -0800 ", 2006, 3, 3, 8, 0, 0},
                                         Accepted{"tHu, 09 Feb 2006 23:59:45 +0000", 2006, 2, 9, 23, 59, 45},
                                         Accepted{"Fri 1 Oct 2010 01:30:00 GMT", 2010, 10, 1, 1, 30, 0},
                                         Accepted{"21 Oct 2002 06:45 EDT", 2002, 10, 21, 6, 45, 0},
                                         Accepted{"31 Dec 99 23:59:59 +0000", 1999, 12, 31, 23, 59, 59},
                                         Accepted{"Sat, 13 Dec 2003 18:30:02.250Z", 2003, 12, 13, 18, 30, 2},
                                         Accepted{"2006-01-11 16:42:47 -0800", 2006, 1, 11, 16, 42, 47}));

INSTANTIATE_TEST_SUITE_P(
    DatesAndTimesAlone, DateParserAccepts,
    testing::Values(Accepted{"10 Jun 2003", 2003, 6, 10, 0, 0, 0}, Accepted{"June 10, 2003", 2003, 6, 10, 0, 0, 0},
                    Accepted{"JUNE 10 2003", 2003, 6, 10, 0, 0, 0}, Accepted{"jun. 10, 2003", 2003, 6, 10, 0, 0, 0},
                    Accepted{"10-Jun-03", 2003, 6, 10, 0, 0, 0}, Accepted{"Sept 1 2003", 2003, 9, 1, 0, 0, 0},
                    Accepted{"Tuesday, June 10, 2003", 2003, 6, 10, 0, 0, 0},
                    Accepted{"June/10/2003 04:00:00", 2003, 6, 10, 4, 0, 0},
                    Accepted{"6/10/2003", 2003, 6, 10, 0, 0, 0}, Accepted{"6-10-2003", 2003, 6, 10, 0, 0, 0},
                    Accepted{"2003-12-13", 2003, 12, 13, 0, 0, 0},
                    Accepted{"2003/12/13 18:30", 2003, 12, 13, 18, 30, 0}, Accepted{"04:00:00", 1899, 12, 30, 4, 0, 0},
                    Accepted{"18:30", 1899, 12, 30, 18, 30, 0}, Accepted{"7:03:15 PM", 1899, 12, 30, 19, 3, 15},
                    Accepted{"4 PM", 1899, 12, 30, 16, 0, 0}, Accepted{"4pm", 1899, 12, 30, 16, 0, 0},
                    Accepted{"0:00", 1899, 12, 30, 0, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    TwoDigitYearsAndRangeEnds, DateParserAccepts,
    testing::Values(Accepted{"1/1/00", 2000, 1, 1, 0, 0, 0}, Accepted{"1/1/29", 2029, 1, 1, 0, 0, 0},
                    Accepted{"1/1/30", 1930, 1, 1, 0, 0, 0}, Accepted{"1/1/99", 1999, 1, 1, 0, 0, 0},
                    Accepted{"1/1/5", 2005, 1, 1, 0, 0, 0}, Accepted{"1/1/100", 100, 1, 1, 0, 0, 0},
                    Accepted{"12/31/9999 23:59:59", 9999, 12, 31, 23, 59, 59},
                    Accepted{"2/29/2000", 2000, 2, 29, 0, 0, 0}, Accepted{"29 Feb 2004", 2004, 2, 29, 0, 0, 0}));

// The platform's parser reads a date day first when its first number cannot be a month, and a
// lone A or P after a time as the 12-hour marker.
INSTANTIATE_TEST_SUITE_P(
    DayFirstDatesAndOneLetterMarkers, DateParserAccepts,
    testing::Values(Accepted{"25/12/2003", 2003, 12, 25, 0, 0, 0}, Accepted{"13-1-1970", 1970, 1, 13, 0, 0, 0},
                    Accepted{"31/01/03 23:59:59", 2003, 1, 31, 23, 59, 59},
                    Accepted{"12/11/2003", 2003, 12, 11, 0, 0, 0}, Accepted{"12:59 A", 1899, 12, 30, 0, 59, 0},
                    Accepted{"1:00 P", 1899, 12, 30, 13, 0, 0}, Accepted{"12/7/2026 7:03:15 p", 2026, 12, 7, 19, 3, 15},
                    Accepted{"Tue, 10 Jun 2003 12:00:00 A", 2003, 6, 10, 0, 0, 0}));

class DateParserRejects : public testing::TestWithParam<const char*> {};

TEST_P(DateParserRejects, TheText) {
  std::optional<DateTime> parsed = ParseDate(GetParam());
  EXPECT_FALSE(parsed.has_value()) << GetParam() << " read as " << FormatDate(*parsed, "%Y-%m-%d %H:%M:%S");
}

INSTANTIATE_TEST_SUITE_P(DatesThatDoNotExist, DateParserRejects,
                         testing::Values("2/30/2003", "13/13/2003", "00/00/2003", "0/10/2003", "6/0/2003", "2/29/2003",
                                         "2/29/1900", "31 Apr 2003", "32/1/2003", "31/2/2003", "1/1/99999", "1/1/0099",
                                         "12/31/99 25:00", "1/1/10000", "6/10/-2003"));

INSTANTIATE_TEST_SUITE_P(TimesThatDoNotExist, DateParserRejects,
                         testing::Values("25:00", "24:00:00", "12:60", "12:00:60", "13:00 PM", "0:30 AM",
                                         "6/10/2003 4:00:00 XM", "6/10/2003 123:00", "6/10/2003 04:000", "13:00 P",
                                         "0:30 A"));

INSTANTIATE_TEST_SUITE_P(TextsThatAreNotDates, DateParserRejects,
                         testing::Values("", "   ", ",,,, , ,", "Tue", "GMT", "June", "10 Jun", "6/10", "2003",
                                         "yesterday", "Tue, 10 Foo 2003 04:00:00", "Tue, 10 Jun 2003 04:00:00 Mars",
                                         "10 Jun 2003 GMT", "6/10/2003 04:00:00 +2500", "6/10/2003 04:00:00 J",
                                         "6/10-2003", "6 / 10 / 2003", "04 : 00", "2003-12-13T18:30:02Z",
                                         "6/10/2003 04:00:00 04:00:00", "10.06.2003", "6/10/2003 \xC3\xA9",
                                         "\xE2\x80\x8B"
                                         "6/10/2003",
                                         "6/10/2003;", "Jun 10 04:00:00", "1500 GMT"));

// Every form the program writes must read back as the same value, across the whole valid range.
TEST(DateParser, ReadsBackEveryFormTheProgramWrites) {
  std::mt19937 random(20031213);
  std::uniform_int_distribution<int> year(100, 9999);
  std::uniform_int_distribution<int> month(1, 12);
  std::uniform_int_distribution<int> day(1, 31);
  std::uniform_int_distribution<int> hour(0, 23);
  std::uniform_int_distribution<int> sixty(0, 59);
  int checked = 0;
  while (checked < 5000) {
    DateTime date =
        DateTime::FromParts(year(random), month(random), day(random), hour(random), sixty(random), sixty(random));
    if (!date.IsValid()) continue;
    ++checked;
    const std::string forms[] = {
        FormatDate(date, "%m/%d/%Y %H:%M:%S"),
        FormatLocaleDate(date),
        std::to_string(date.Month()) + "/" + FormatDate(date, "%d/%Y %H:%M:%S"),
        FormatDate(date, "%a, %d %b %Y %H:%M:%S GMT"),
        FormatDate(date, "%A, %B %d, %Y %I:%M:%S %p"),
    };
    for (const std::string& form : forms) {
      std::optional<DateTime> back = ParseDate(form);
      ASSERT_TRUE(back.has_value()) << form;
      ASSERT_EQ(*back, date) << form;
    }
  }
}

TEST(DateParser, SurvivesHugeAndHostileTexts) {
  EXPECT_FALSE(ParseDate(std::string(10000, ' ')).has_value());
  EXPECT_FALSE(ParseDate(std::string(10000, ',')).has_value());
  EXPECT_FALSE(ParseDate(std::string(10000, '9')).has_value());
  EXPECT_FALSE(ParseDate(std::string(10000, '\xFF')).has_value());
  EXPECT_FALSE(ParseDate("6/10/" + std::string(10000, '2')).has_value());
  EXPECT_FALSE(ParseDate(std::string(10000, '(')).has_value());
  EXPECT_FALSE(ParseDate(std::string("6/10/2003\0 04:00:00", 19)).has_value());
  std::string padded = std::string(5000, ' ') + "6/10/2003 04:00:00" + std::string(5000, ' ');
  EXPECT_EQ(ParseDate(padded), DateTime::FromParts(2003, 6, 10, 4, 0, 0));
}

TEST(ParseZoneOffset, NamesLettersAndOffsetsInMinutesEastOfUtc) {
  EXPECT_EQ(ParseZoneOffset("GMT"), 0);
  EXPECT_EQ(ParseZoneOffset("ut"), 0);
  EXPECT_EQ(ParseZoneOffset("UTC"), 0);
  EXPECT_EQ(ParseZoneOffset("Z"), 0);
  EXPECT_EQ(ParseZoneOffset("EST"), -300);
  EXPECT_EQ(ParseZoneOffset("EDT"), -240);
  EXPECT_EQ(ParseZoneOffset("CST"), -360);
  EXPECT_EQ(ParseZoneOffset("CDT"), -300);
  EXPECT_EQ(ParseZoneOffset("MST"), -420);
  EXPECT_EQ(ParseZoneOffset("MDT"), -360);
  EXPECT_EQ(ParseZoneOffset("PST"), -480);
  EXPECT_EQ(ParseZoneOffset("PDT"), -420);
  EXPECT_EQ(ParseZoneOffset("-0800"), -480);
  EXPECT_EQ(ParseZoneOffset("+0900"), 540);
  EXPECT_EQ(ParseZoneOffset("+05:30"), 330);
  EXPECT_EQ(ParseZoneOffset("-03"), -180);
  EXPECT_EQ(ParseZoneOffset("GMT+0100"), 60);
  EXPECT_EQ(ParseZoneOffset("EST-0100"), -360);
  EXPECT_EQ(ParseZoneOffset("+0000 (UTC)"), 0);
  EXPECT_EQ(ParseZoneOffset("B"), 120);
  EXPECT_EQ(ParseZoneOffset("I"), 540);
  EXPECT_EQ(ParseZoneOffset("K"), 600);
  EXPECT_EQ(ParseZoneOffset("M"), 720);
  EXPECT_EQ(ParseZoneOffset("N"), -60);
  EXPECT_EQ(ParseZoneOffset("Y"), -720);
}

TEST(ParseZoneOffset, AnythingElseIsNoZone) {
  for (std::string_view text : {"", "J", "A", "P", "CET", "+2400", "+0960", "+123", "GMT GMT", "(UTC)", "-0800 x"}) {
    EXPECT_FALSE(ParseZoneOffset(text).has_value()) << text;
  }
  // ParseDate still reads a zone and takes the time as written.
  EXPECT_EQ(ParseDate("6/10/2003 04:00:00 -0800"), DateTime::FromParts(2003, 6, 10, 4, 0, 0));
}

}  // namespace
}  // namespace tarnwick::platform
