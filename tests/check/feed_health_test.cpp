// A feed's health: failing and quiet by count, days and silence, a login asked for, a stop that
// counts for nothing, and the retry delays. Three failures, the daily naming, a success clearing
// it and the retries at every interval are shown end to end and by the scheduler's test.
#include "check_fixture.h"

#include "check/check_texts.h"
#include "check/feed_health.h"
#include "platform/date_format.h"
#include "store/settings_keys.h"

namespace tarnwick::check::test {
namespace {

using platform::DateTime;

const DateTime kNow = DateTime::FromParts(2026, 12, 7, 7, 3, 15);

std::string HoursBefore(int hours) {
  return platform::FormatLocaleDate(kNow.AddMinutes(-60LL * hours));
}

using FeedHealthTest = CheckFixture;

TEST_F(FeedHealthTest, AFeedThatAsksForALoginSaysSoAndAStoppedCheckCountsNoFailure) {
  store::FeedSettings feed = AddFeed("private", "<rss/>", "Private");
  server.AddEndpoint("/private.xml", 401, "no");
  EXPECT_EQ(Check(feed), -1);
  EXPECT_EQ(checker.LastProblem(), kNeedsLogin);
  EXPECT_EQ(Key("private", store::kLastProblemKey), kNeedsLogin);

  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml", stop.get_token()), -1);
  EXPECT_EQ(checker.LastProblem(), kStopped);
  EXPECT_EQ(Key("private", store::kFailuresInARowKey), "1");
}

TEST(FeedHealth, FailuresInARowOrTwoDaysWithoutASuccessMakeAFeedFailingAndSilenceMakesItQuiet) {
  struct Case {
    const char* what;
    int failures;
    std::string succeededAt;
    std::string deliveredAt;
    std::string lastArticle;  // empty: the feed never had an article
    FeedHealth health;
  };
  const Case cases[] = {
      {"two failures within two days", 2, HoursBefore(47), HoursBefore(47), "", FeedHealth::kHealthy},
      {"one failure two days after a success", 1, HoursBefore(48), HoursBefore(48), "", FeedHealth::kFailing},
      {"failures of a feed that never answered", 2, "", "", "", FeedHealth::kHealthy},
      {"answers, nothing new for 90 days", 0, HoursBefore(1), HoursBefore(90 * 24), "", FeedHealth::kQuiet},
      {"answers, new article 89 days ago", 0, HoursBefore(1), HoursBefore(89 * 24), "", FeedHealth::kHealthy},
      {"failing, not quiet", 3, HoursBefore(1), HoursBefore(100 * 24), "", FeedHealth::kFailing},
      {"no delivery recorded, old last article", 0, HoursBefore(1), "", "01/01/2020 10:00:00", FeedHealth::kQuiet},
  };
  for (const Case& c : cases) {
    FeedState state;
    state.failuresInARow = c.failures;
    state.succeededAt = c.succeededAt;
    state.deliveredAt = c.deliveredAt;
    state.firstCheck = c.lastArticle.empty();
    state.lastArticle = c.lastArticle.empty() ? "1/1/1970 11:10:00" : c.lastArticle;
    EXPECT_EQ(HealthOf(state, kNow), c.health) << c.what;
  }
}

TEST(FeedHealth, AFailingFeedWaitsTwiceItsIntervalUpToADayOrItsOwnLongerIntervalAndAtLeastTwoMinutes) {
  struct Case {
    int failures;
    int interval;
    int64_t minutes;
  };
  // (Every interval of 15 minutes is shown by the scheduler's test.)
  const Case cases[] = {{3, 0, 2}, {3, 1000, 1440}, {3, 2880, 2880}, {40, 2880, 2880}, {1, 60, 120}};
  for (const Case& c : cases) {
    EXPECT_EQ(RetryDelayMinutes(c.failures, c.interval), c.minutes) << c.failures << " " << c.interval;
  }
}

}  // namespace
}  // namespace tarnwick::check::test
