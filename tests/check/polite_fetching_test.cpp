// What checks and background fetching do when a feed's server asks to wait, says the feed is
// gone, or has moved it for good.
#include "check_fixture.h"
#include "support/scoped_time_zone.h"

#include "check/auto_check_scheduler.h"
#include "platform/message_box.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

namespace tarnwick::check::test {
namespace {

std::string OneItem(const std::string& guid) {
  return "<rss><channel><title>C</title><item><title>" + guid + "</title><guid>" + guid +
         "</guid><description>Body</description></item></channel></rss>";
}

class PoliteFetchingTest : public CheckFixture {
protected:
  PoliteFetchingTest() {
    previousBox_ = platform::SetMessageBoxHandler([](const std::string&, const std::string&) {});
  }
  ~PoliteFetchingTest() override { platform::SetMessageBoxHandler(previousBox_); }

  // A feed that background fetching fetches every 15 minutes and that is due now.
  store::FeedSettings AutoFeed(const std::string& alias) {
    store::FeedSettings feed = AddFeed(alias, OneItem(alias), alias);
    settings.WriteInt(alias, store::kAutoCheckKey, 1);
    settings.WriteInt(alias, store::kIntervalMinutesKey, 15);
    settings.WriteText(alias, store::kLastCheckKey, "12/7/2026 7:00:00 AM");
    return feed;
  }
  int Check(const store::FeedSettings& feed) { return checker.CheckFeed(feed, false, plugins + "/feed.xml"); }
  int TickAndWait() {
    const int started = scheduler.Tick();
    workers.WaitForAll();
    return started;
  }
  std::string Key(const std::string& alias, const char* key) { return settings.ReadText(alias, key, ""); }
  std::string Moved(const std::string& url) { return "the feed has moved for good to " + url + "; update its URL"; }

  store::SettingsStore settings{settingsPath};
  std::atomic<bool> mainWindowOpen{false};
  feed::DownloadWorkerSet workers;
  AutoCheckScheduler scheduler{{dataFolder, settingsPath}, mainWindowOpen, clock, workers};
  platform::MessageBoxHandler previousBox_;
};

TEST_F(PoliteFetchingTest, WaitAskedInSecondsIsReportedAndKeepsBackgroundFetchingAwayUntilThen) {
  const store::FeedSettings feed = AutoFeed("busy");
  server.AddEndpoint("/busy.xml", 429, "", {{"Retry-After", "600"}});
  EXPECT_EQ(Check(feed), -1);
  EXPECT_EQ(checker.LastProblem(), "the server asked to wait until 12/7/2026 7:13:15 AM");
  EXPECT_EQ(Key("busy", store::kRetryAfterKey), "12/7/2026 7:13:15 AM");
  clock.AdvanceMinutes(9);
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(server.HitCount("/busy.xml"), 1);  // the server's answer was not asked again either

  clock.AdvanceMinutes(1);  // the time asked for: due at once, its "LastCheck" having stayed
  Serve("busy", OneItem("busy"));
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_EQ(Key("busy", store::kRetryAfterKey), "");
}

TEST_F(PoliteFetchingTest, GoneFeedIsLeftAloneInTheBackgroundUntilAManualCheckWorks) {
  const store::FeedSettings feed = AutoFeed("old");
  server.AddEndpoint("/old.xml", 410, "");
  EXPECT_EQ(Check(feed), -1);
  EXPECT_EQ(checker.LastProblem(), "the feed is gone");
  EXPECT_EQ(Key("old", store::kGoneKey), "1");
  EXPECT_EQ(Key("old", store::kAutoCheckKey), "1");
  clock.AdvanceMinutes(24 * 60);
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(server.HitCount("/old.xml"), 1);
  ASSERT_EQ(run.RunCachedFeeds().held.size(), 1u);
  EXPECT_EQ(run.Report().held[0].reason, "not fetched in the background: the feed is gone");

  Serve("old", OneItem("old"));
  EXPECT_EQ(Check(feed), 1);
  EXPECT_EQ(Key("old", store::kGoneKey), "");
  EXPECT_EQ(TickAndWait(), 1);
}

TEST_F(PoliteFetchingTest, AnswerAboutAnAddressTheUserChangedMeanwhileIsNotKept) {
  AutoFeed("edited");
  server.AddEndpoint("/edited.xml", 410, "", {}, tarnwick::test::Behaviour::kSlow);
  EXPECT_EQ(scheduler.Tick(), 1);
  settings.WriteText("edited", store::kUrlKey, server.Url("/elsewhere.xml"));
  workers.WaitForAll();
  EXPECT_EQ(server.HitCount("/edited.xml"), 1);
  EXPECT_EQ(Key("edited", store::kGoneKey), "");
}

TEST_F(PoliteFetchingTest, PermanentRedirectsDeliverAndReportTheNewAddress) {
  for (const int status : {301, 308}) {
    SCOPED_TRACE(status);
    const std::string alias = "moved" + std::to_string(status);
    store::FeedSettings feed = AddFeed(alias, OneItem(alias), alias);
    const std::string newUrl = std::exchange(feed.url, server.Url("/old-" + alias));
    settings.WriteText(alias, store::kUrlKey, feed.url);
    server.AddEndpoint("/old-" + alias, status, "", {{"Location", newUrl}});
    const FeedOutcome outcome = run.RunSelectedFeeds({feed}).feeds.back();
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_EQ(outcome.note, Moved(newUrl));
    EXPECT_EQ(Key(alias, store::kMovedToKey), newUrl);

    feed.url = newUrl;  // the user took the new address: nothing more is said
    EXPECT_EQ(Check(feed), 0);
    EXPECT_EQ(checker.LastNote(), "");
    EXPECT_EQ(Key(alias, store::kMovedToKey), "");
  }
}

TEST_F(PoliteFetchingTest, BackgroundFetchingKeepsWhatServersSaidAndTheCacheRunReportsIt) {
  const tarnwick::test::ScopedTimeZone zone("UTC0");
  AutoFeed("down");
  server.AddEndpoint("/down.xml", 503, "", {{"Retry-After", "Mon, 07 Dec 2026 09:00:00 GMT"}});
  const store::FeedSettings moved = AutoFeed("moved");
  settings.WriteText("moved", store::kUrlKey, server.Url("/old-moved"));
  server.AddEndpoint("/old-moved", 308, "", {{"Location", moved.url}});
  EXPECT_EQ(TickAndWait(), 2);
  EXPECT_EQ(Key("down", store::kRetryAfterKey), "12/7/2026 9:00:00 AM");
  const RunReport& report = run.RunCachedFeeds();
  ASSERT_EQ(report.feeds.size(), 1u);
  EXPECT_EQ(report.feeds[0].result, 1);
  EXPECT_EQ(report.feeds[0].note, Moved(moved.url));
  ASSERT_EQ(report.held.size(), 1u);
  EXPECT_EQ(report.held[0].alias, "down");
  EXPECT_EQ(report.held[0].reason,
            "not fetched in the background until 12/7/2026 9:00:00 AM: the server asked to wait");
}

}  // namespace
}  // namespace tarnwick::check::test
