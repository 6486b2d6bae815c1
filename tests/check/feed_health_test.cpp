// A feed's health: failures counted across checks and background downloads, failing after three
// in a row or two days without a success, quiet after 90 days without new articles, and a short
// report that names a failing feed once a day.
#include "check_fixture.h"

#include "check/check_texts.h"
#include "check/failing_notices.h"
#include "check/feed_health.h"
#include "platform/date_format.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

namespace tarnwick::check::test {
namespace {

using platform::DateTime;

const DateTime kNow = DateTime::FromParts(2026, 12, 7, 7, 3, 15);

std::string HoursBefore(int hours) {
  return platform::FormatLocaleDate(kNow.AddMinutes(-60LL * hours));
}

class FeedHealthTest : public CheckFixture {
protected:
  int Check(const store::FeedSettings& feed) {
    clock.AdvanceMinutes(60);
    return checker.CheckFeed(feed, false, plugins + "/feed.xml");
  }
  std::string Key(const std::string& alias, const char* key) { return settings.ReadText(alias, key, "absent"); }

  store::SettingsStore settings{settingsPath};
};

TEST_F(FeedHealthTest, ThreeFailedChecksMakeAFeedFailingAndACheckThatWorksClearsIt) {
  const std::string document =
      "<rss><channel><title>C</title><item><title>a</title><guid>a</guid></item></channel></rss>";
  store::FeedSettings feed = AddFeed("flaky", document, "Flaky");
  server.AddEndpoint("/flaky.xml", 500, "");
  for (int failure = 1; failure <= 3; ++failure) {
    EXPECT_EQ(Check(feed), -1);
    EXPECT_EQ(checker.LastFailing(), failure == 3) << failure;
    EXPECT_EQ(Key("flaky", store::kFailuresInARowKey), std::to_string(failure));
    EXPECT_EQ(Key("flaky", store::kFailedAtKey), checker.LastStatus().checkedAt);
  }
  const FeedState failing = ReadFeedState(settings, "flaky");
  EXPECT_EQ(HealthOf(failing, clock.Now()), FeedHealth::kFailing);
  EXPECT_EQ(HealthNote(failing, clock.Now()), "failing (3 failures in a row): " + std::string(kNotDownloaded));
  settings.WriteText("flaky", store::kFailingNamedAtKey, checker.LastStatus().checkedAt);

  Serve("flaky", document);
  EXPECT_EQ(Check(feed), 1);
  EXPECT_FALSE(checker.LastFailing());
  for (const char* key : {store::kFailuresInARowKey, store::kFailedAtKey, store::kFailingNamedAtKey}) {
    EXPECT_EQ(Key("flaky", key), "absent") << key;
  }
  EXPECT_EQ(Key("flaky", store::kSucceededAtKey), checker.LastStatus().checkedAt);
  EXPECT_EQ(Key("flaky", store::kDeliveredAtKey), checker.LastStatus().checkedAt);

  // A later check that brings nothing new keeps "DeliveredAt"; its success time goes with the
  // run's closing write, not with a write of its own.
  const std::string delivered = checker.LastStatus().checkedAt;
  clock.AdvanceMinutes(60);
  run.RunSelectedFeeds({feed});
  EXPECT_FALSE(checker.StatusRecorded());
  EXPECT_EQ(Key("flaky", store::kSucceededAtKey), checker.LastStatus().checkedAt);
  EXPECT_EQ(Key("flaky", store::kDeliveredAtKey), delivered);
}

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
      {"never checked", 0, "", "", "", FeedHealth::kHealthy},
      {"two failures within two days", 2, HoursBefore(47), HoursBefore(47), "", FeedHealth::kHealthy},
      {"three failures", 3, HoursBefore(1), HoursBefore(1), "", FeedHealth::kFailing},
      {"one failure two days after a success", 1, HoursBefore(48), HoursBefore(48), "", FeedHealth::kFailing},
      {"failures of a feed that never answered", 2, "", "", "", FeedHealth::kHealthy},
      {"answers, nothing new for 90 days", 0, HoursBefore(1), HoursBefore(90 * 24), "", FeedHealth::kQuiet},
      {"answers, new article 89 days ago", 0, HoursBefore(1), HoursBefore(89 * 24), "", FeedHealth::kHealthy},
      {"failing, not quiet", 3, HoursBefore(1), HoursBefore(100 * 24), "", FeedHealth::kFailing},
      {"no delivery recorded, old last article", 0, HoursBefore(1), "", "01/01/2020 10:00:00", FeedHealth::kQuiet},
      {"no delivery recorded, recent last article", 0, HoursBefore(1), "", "12/01/2026 10:00:00", FeedHealth::kHealthy},
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

TEST(FeedHealth, AFailingFeedWaitsTwiceItsIntervalThenDoublingUpToADayOrItsOwnLongerInterval) {
  struct Case {
    int failures;
    int interval;
    int64_t minutes;
  };
  const Case cases[] = {{3, 15, 30},    {4, 15, 60}, {7, 15, 480},    {8, 15, 960},    {9, 15, 1440},
                        {40, 15, 1440}, {3, 0, 2},   {3, 1000, 1440}, {3, 2880, 2880}, {1, 60, 120}};
  for (const Case& c : cases) {
    EXPECT_EQ(RetryDelayMinutes(c.failures, c.interval), c.minutes) << c.failures << " " << c.interval;
  }
}

TEST(FailingNotices, AShortReportNamesAFailingFeedOnceADay) {
  tarnwick::test::TempDir dir;
  const store::SettingsStore settings(dir.File("tarnwick.ini"));
  RunReport report;
  FeedOutcome broken;
  broken.alias = "broken";
  broken.failing = true;
  FeedOutcome flaky;  // failed, but not failing
  flaky.alias = "flaky";
  report.feeds = {broken, flaky};

  EXPECT_TRUE(FailingFeedsNamedRecently(settings, report, kNow).empty());
  EXPECT_EQ(settings.ReadText("broken", store::kFailingNamedAtKey, ""), platform::FormatLocaleDate(kNow));
  EXPECT_EQ(settings.ReadText("flaky", store::kFailingNamedAtKey, "absent"), "absent");

  const std::vector<std::string> onlyBroken{"broken"};
  EXPECT_EQ(FailingFeedsNamedRecently(settings, report, kNow.AddMinutes(23 * 60 + 59)), onlyBroken);
  EXPECT_TRUE(FailingFeedsNamedRecently(settings, report, kNow.AddMinutes(24 * 60)).empty());
  EXPECT_EQ(FailingFeedsNamedRecently(settings, report, kNow.AddMinutes(25 * 60)), onlyBroken);
  // A time ahead of the clock (set back since) names the feed at once.
  EXPECT_TRUE(FailingFeedsNamedRecently(settings, report, kNow).empty());
}

}  // namespace
}  // namespace tarnwick::check::test
