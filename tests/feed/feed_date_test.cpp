#include "feed/feed_date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../../fuzz/feed_date_checks.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "support/scoped_time_zone.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

using platform::DateTime;

// Every test runs at 7 December 2026 07:03:15, a Monday.
class FeedDate : public testing::Test {
protected:
  platform::ManualClock clock_{DateTime::FromParts(2026, 12, 7, 7, 3, 15)};
  const std::string nowDisplay_ = "Mon, 7 Dec 2026 07:03:15";
  const std::string nowLocale_ = "12/7/2026 7:03:15 AM";

  std::string Iso(std::string_view text) { return NormalizeFeedDate(text, kIsoDateMode, clock_); }
  std::string FreeForm(std::string_view text) { return NormalizeFeedDate(text, kFreeFormDateMode, clock_); }
  std::string Parseable(std::string_view text) { return ToParseableDate(text, clock_); }
};

TEST_F(FeedDate, IsoTextsAreCutAtFixedPositionsAndLoseTheirSeconds) {
  EXPECT_EQ(Iso("2003-12-13T18:30:02Z"), "Sat, 13 Dec 2003 18:30:00");
  EXPECT_EQ(Iso("2003-12-13T18:30:02+01:00"), "Sat, 13 Dec 2003 18:30:00");
  EXPECT_EQ(Iso("  2003-12-13T18:30:02Z\n"), "Sat, 13 Dec 2003 18:30:00");
  EXPECT_EQ(Iso("2003-12-13"), "Sat, 13 Dec 2003 00:00:00");
  // Days cut from an ISO text keep their leading zero.
  EXPECT_EQ(Iso("2003-12-07"), "Sun, 07 Dec 2003 00:00:00");
  EXPECT_EQ(Iso("2004-02-29T23:59:59Z"), "Sun, 29 Feb 2004 23:59:00");
}

TEST_F(FeedDate, IsoTextsThatDoNotParseKeepTheirPiecesUnmapped) {
  EXPECT_EQ(Iso("2003"), ", 00 00 2003 00:00:00");
  EXPECT_EQ(Iso("2003-05"), ", 00 05 2003 00:00:00");
  // "12" is a month text and is named even though 12/00/2003 does not parse.
  EXPECT_EQ(Iso("2003-12"), ", 00 Dec 2003 00:00:00");
  EXPECT_EQ(Iso("2003-02-30"), ", 30 02 2003 00:00:00");
  EXPECT_EQ(Iso("abcdefghijklmnopqrstu"), ", ij fg abcd lm:op:00");
}

TEST_F(FeedDate, IsoTextsOfOtherLengthsShowTheCurrentTime) {
  EXPECT_EQ(Iso("2003-12-13T18:30"), nowDisplay_);  // length 16
  EXPECT_EQ(Iso(""), nowDisplay_);
  EXPECT_EQ(Iso("20031"), nowDisplay_);
  EXPECT_EQ(Iso("2003-12-13T18:3"), nowDisplay_);
}

TEST_F(FeedDate, FreeFormTextsShowTheParsedDateWithoutLeadingZeros) {
  EXPECT_EQ(FreeForm("Tue, 10 Jun 2003 04:00:00 GMT"), "Tue, 10 Jun 2003 04:00:00");
  EXPECT_EQ(FreeForm("Sun, 07 Dec 2003 09:05:03 +0000"), "Sun, 7 Dec 2003 09:05:03");
  EXPECT_EQ(FreeForm(nowLocale_), nowDisplay_);
  EXPECT_EQ(FreeForm("6/10/2003 04:00:00"), "Tue, 10 Jun 2003 04:00:00");
}

TEST_F(FeedDate, FreeFormTextsThatDoNotParseShowTheCurrentTime) {
  EXPECT_EQ(FreeForm("2003-12-13T18:30:02Z"), nowDisplay_);
  EXPECT_EQ(FreeForm("sometime last week"), nowDisplay_);
  EXPECT_EQ(FreeForm(""), nowDisplay_);
  // Any mode other than the ISO one reads free-form text.
  EXPECT_EQ(NormalizeFeedDate("10 Jun 2003", 7, clock_), "Tue, 10 Jun 2003 00:00:00");
}

TEST_F(FeedDate, ParseableFormDropsTheDayNameAndTheZone) {
  EXPECT_EQ(Parseable("Tue, 10 Jun 2003 04:00:00 GMT"), "6/10/2003 04:00:00");
  EXPECT_EQ(Parseable("10 jun 2003 04:00:00"), "6/10/2003 04:00:00");
  EXPECT_EQ(Parseable("Sat, 6 Dec 2003 18:30:00"), "12/06/2003 18:30:00");
  EXPECT_EQ(Parseable("Tue 10 Jun 2003 04:00:00"), "6/10/2003 04:00:00");
  // A first word with a comma is a day name even in another language.
  EXPECT_EQ(Parseable("Di, 10 Jun 2003 04:00:00 +0200"), "6/10/2003 04:00:00");
  // The day name is looked for case-sensitively; a lower-case one stays and is taken as the day.
  EXPECT_EQ(Parseable("tue 10 Jun 2003 04:00:00"), "10/tue/Jun 2003");
  // A month word that is not a three-letter name stays as it is.
  EXPECT_EQ(Parseable("Tue, 10 June 2003 04:00:00"), "June/10/2003 04:00:00");
}

TEST_F(FeedDate, ParseableFormFallsBackToTheCurrentTimeInLocaleForm) {
  EXPECT_EQ(Parseable("10"), nowLocale_);
  EXPECT_EQ(Parseable("Tue, 10 Jun"), nowLocale_);
  EXPECT_EQ(Parseable("2003-12-13T18:30:02Z"), nowLocale_);
  EXPECT_EQ(Parseable(""), nowLocale_);
  EXPECT_EQ(Parseable("Tue,"), nowLocale_);
}

// Dates as feeds print them: indented over lines, with doubled blanks, without a blank after
// the comma, without a time, or with a 12-hour time.
TEST_F(FeedDate, ParseableFormReadsDatesAsFeedsPrintThem) {
  EXPECT_EQ(Parseable("\n      Tue, 10 Jun 2003\n      04:00:00 GMT\n    "), "6/10/2003 04:00:00");
  EXPECT_EQ(Parseable("Tue,  10  Jun 2003\t04:00:00"), "6/10/2003 04:00:00");
  EXPECT_EQ(Parseable("Tue,10 Jun 2003 04:00:00 GMT"), "6/10/2003 04:00:00");
  EXPECT_EQ(Parseable("Tue,10 Jun 2003"), "6/10/2003");
  EXPECT_EQ(Parseable("Tue, 10 Jun 2003 4:00:00 PM"), "6/10/2003 4:00:00 PM");
  EXPECT_EQ(Parseable("Tue, 10 Jun 2003 4:00:00 am EST"), "6/10/2003 4:00:00 am");
  EXPECT_EQ(platform::ParseDate(Parseable("Tue, 10 Jun 2003 4:00:00 PM")), DateTime::FromParts(2003, 6, 10, 16, 0, 0));
  EXPECT_EQ(platform::ParseDate(Parseable("Tue,10 Jun 2003")), DateTime::FromParts(2003, 6, 10, 0, 0, 0));
}

// Instants in local time: a zone after the time is applied; none means local time as written.
TEST_F(FeedDate, ArticleInstantsApplyTheirZone) {
  test::ScopedTimeZone zone("LOC-1");  // one hour east of UTC, all year
  auto local = [this](std::string_view text) { return ReadArticleInstant(text, clock_).local; };
  // 03:09:05 at -0800 is 11:09:05 UTC, 12:09:05 here.
  EXPECT_EQ(local("Mon, 07 Dec 2026 03:09:05 -0800"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 20:09:05 +0900"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 11:09:05 GMT"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 11:09:05 Z"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 06:09:05 EST"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 04:09:05 PDT"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 10:09:05 N"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));  // military -1
  EXPECT_EQ(local("Mon, 07 Dec 2026 3:09:05 AM -0800"), DateTime::FromParts(2026, 12, 7, 12, 9, 5));
  EXPECT_EQ(local("Tue, 01 Dec 2026 23:30:00 -0800"), DateTime::FromParts(2026, 12, 2, 8, 30, 0));  // next day
  EXPECT_EQ(local(Iso("2026-12-07T11:09:05Z") + " +0000"), DateTime::FromParts(2026, 12, 7, 12, 9, 0));
  EXPECT_EQ(local("Mon, 07 Dec 2026 11:09:05"), DateTime::FromParts(2026, 12, 7, 11, 9, 5));
  EXPECT_EQ(local("Mon, 07 Dec 2026 11:09:05 (no zone)"), DateTime::FromParts(2026, 12, 7, 11, 9, 5));
  EXPECT_FALSE(ReadArticleInstant("Mon, 07 Dec 2026 11:09:05 -0800", clock_).currentTime);
  EXPECT_FALSE(local("Mon, 07 Foo 2026 11:09:05 -0800").has_value());
  const ArticleInstant unsplit = ReadArticleInstant("2026-12-07T11:09:05Z", clock_);
  EXPECT_TRUE(unsplit.currentTime);
  EXPECT_EQ(unsplit.local, clock_.Now());
}

TEST_F(FeedDate, AtomItemDatesKeepTheirZone) {
  EXPECT_EQ(AtomItemDate("2003-12-13T18:30:02Z", clock_), "Sat, 13 Dec 2003 18:30:00 +0000");
  EXPECT_EQ(AtomItemDate(" 2003-12-13T18:30:02.25+09:00\n", clock_), "Sat, 13 Dec 2003 18:30:00 +0900");
  EXPECT_EQ(AtomItemDate("2003-12-13T18:30-0800", clock_), "Sat, 13 Dec 2003 18:30:00 -0800");
  EXPECT_EQ(AtomItemDate("2003-12-13T18:30:02", clock_), "Sat, 13 Dec 2003 18:30:00");
  EXPECT_EQ(AtomItemDate("2003-12-13T18:30:02 PST", clock_), "Sat, 13 Dec 2003 18:30:00");
  EXPECT_EQ(AtomItemDate("2003-12-13", clock_), "Sat, 13 Dec 2003 00:00:00");
}

TEST_F(FeedDate, DisplayTextsReadBackThroughTheParseableForm) {
  const std::string display = FreeForm("Sun, 07 Dec 2003 09:05:03 +0000");
  EXPECT_EQ(platform::ParseDate(Parseable(display)), DateTime::FromParts(2003, 12, 7, 9, 5, 3));
  EXPECT_EQ(platform::ParseDate(Parseable(Iso("2003-12-13T18:30:02Z"))), DateTime::FromParts(2003, 12, 13, 18, 30, 0));
  EXPECT_EQ(platform::FormatDate(DateTime::FromParts(2003, 6, 10, 4, 0, 0), kStoredDatePattern), "06/10/2003 04:00:00");
}

TEST_F(FeedDate, HostileTextsNeitherCrashNorHang) {
  const std::string texts[] = {std::string(10000, 'x'),      std::string(10000, ' '), std::string(10000, ','),
                               std::string(10000, '\xFF'),   std::string(10000, '9'), "Tue, 10 Jun 1 04:00:00",
                               "Tue, 10 Jun 99999 04:00:00", "1/1/0001 00:00:00",     std::string("\0\0\0\0", 4)};
  for (const std::string& text : texts) {
    EXPECT_EQ(fuzz::CheckFeedDateInput(text), "");
    EXPECT_FALSE(Iso(text).empty());
  }
  EXPECT_EQ(FreeForm(std::string(10000, ' ')), nowDisplay_);
  EXPECT_EQ(Parseable(std::string(10000, ' ')), nowLocale_);
}

std::filesystem::path CorpusFolder() {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return std::filesystem::path(source) / "tests/data/fuzz/dates";
  return std::filesystem::path(__FILE__).parent_path() / "../data/fuzz/dates";
}

TEST(FeedDateCorpus, EverySavedInputPassesTheFuzzChecks) {
  const std::filesystem::path folder = CorpusFolder();
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    EXPECT_EQ(fuzz::CheckFeedDateInput(test::ReadFileBytes(entry.path().string())), "") << entry.path().filename();
    ++replayed;
  }
  EXPECT_GE(replayed, 50);
}

}  // namespace
}  // namespace tarnwick::feed
