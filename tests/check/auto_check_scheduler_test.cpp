#include "check/auto_check_scheduler.h"

#include "check/check_texts.h"
#include "check/feed_state.h"
#include "check/polite_fetching.h"

#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "platform/message_box.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tarnwick::check {
namespace {

using platform::DateTime;
using test::ReadFileBytes;

class AutoCheckTest : public ::testing::Test {
protected:
  AutoCheckTest() {
    server.AddEndpoint("/a.xml", 200, "<rss>a</rss>");
    server.AddEndpoint("/b.xml", 200, "<rss>b</rss>");
    previousBox =
        platform::SetMessageBoxHandler([this](const std::string& text, const std::string&) { boxes.push_back(text); });
  }
  ~AutoCheckTest() override { platform::SetMessageBoxHandler(previousBox); }

  void AddFeed(const std::string& alias, const std::string& url, int autoCheck, int interval) {
    settings.WriteText(store::kAliasesSection, alias, alias + " name");
    settings.WriteText(alias, store::kUrlKey, url);
    settings.WriteInt(alias, store::kAutoCheckKey, autoCheck);
    settings.WriteInt(alias, store::kIntervalMinutesKey, interval);
  }
  std::string LastCheck(const std::string& alias) { return settings.ReadText(alias, store::kLastCheckKey, ""); }
  int TickAndWait() {
    int started = scheduler.Tick();
    workers.WaitForAll();
    return started;
  }

  test::TempDir dir;
  test::HttpServer server;
  store::SettingsStore settings{dir.File("tarnwick.ini")};
  std::atomic<bool> mainWindowOpen{false};
  platform::ManualClock clock{DateTime::FromParts(2026, 12, 7, 7, 3, 15)};
  feed::DownloadWorkerSet workers;
  AutoCheckScheduler scheduler{{dir.Path(), dir.File("tarnwick.ini")}, mainWindowOpen, clock, workers};
  std::vector<std::string> boxes;
  platform::MessageBoxHandler previousBox;
};

TEST_F(AutoCheckTest, FirstTickSchedulesAndALaterTickDownloads) {
  AddFeed("news", server.Url("/a.xml"), 1, 15);
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(LastCheck("news"), "12/7/2026 7:18:15 AM");
  EXPECT_EQ(server.HitCount("/a.xml"), 0);
  EXPECT_TRUE(store::FolderExists(dir.File("Feeds")));

  clock.AdvanceMinutes(14);
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(LastCheck("news"), "12/7/2026 7:18:15 AM");

  clock.AdvanceMinutes(1);  // exactly the time written: due
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_EQ(ReadFileBytes(dir.File("Feeds/news.rss")), "<rss>a</rss>");
  EXPECT_EQ(LastCheck("news"), "12/7/2026 7:33:15 AM");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(AutoCheckTest, WithoutIntervalOnlyAPastLastCheckMakesAFeedDue) {
  AddFeed("never", server.Url("/a.xml"), 1, 0);
  AddFeed("always", server.Url("/b.xml"), 1, 0);
  settings.WriteText("always", store::kLastCheckKey, "12/6/2026 11:00:00 PM");
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_EQ(server.HitCount("/b.xml"), 2);
  EXPECT_EQ(server.HitCount("/a.xml"), 0);
  EXPECT_EQ(LastCheck("never"), "");
  EXPECT_EQ(LastCheck("always"), "12/6/2026 11:00:00 PM");
}

TEST_F(AutoCheckTest, FeedsWithoutAutoCheckAreLeftAlone) {
  AddFeed("manual", server.Url("/a.xml"), 0, 15);
  settings.WriteText("manual", store::kLastCheckKey, "1/1/2000 0:00:00 AM");
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(LastCheck("manual"), "1/1/2000 0:00:00 AM");
}

TEST_F(AutoCheckTest, UnreadableLastCheckIsRescheduledWithoutDownload) {
  AddFeed("news", server.Url("/a.xml"), 1, 30);
  settings.WriteText("news", store::kLastCheckKey, "soon");
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(LastCheck("news"), "12/7/2026 7:33:15 AM");
}

TEST_F(AutoCheckTest, NothingHappensWhileTheMainWindowIsOpen) {
  AddFeed("news", server.Url("/a.xml"), 1, 15);
  settings.WriteText("news", store::kLastCheckKey, "12/6/2026 7:00:00 AM");
  mainWindowOpen = true;
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(LastCheck("news"), "12/6/2026 7:00:00 AM");
  EXPECT_FALSE(store::FolderExists(dir.File("Feeds")));
}

TEST_F(AutoCheckTest, TwoDueFeedsGetTwoCacheFilesNamedSafely) {
  AddFeed("Tech: News?", server.Url("/a.xml"), 1, 60);
  AddFeed("other", server.Url("/b.xml"), 1, 60);
  settings.WriteText("Tech: News?", store::kLastCheckKey, "12/7/2026 7:03:15 AM");
  settings.WriteText("other", store::kLastCheckKey, "12/7/2026 7:00:00 AM");
  EXPECT_EQ(TickAndWait(), 2);
  EXPECT_EQ(ReadFileBytes(dir.File("Feeds/Tech News.rss")), "<rss>a</rss>");
  EXPECT_EQ(ReadFileBytes(dir.File("Feeds/other.rss")), "<rss>b</rss>");
}

TEST_F(AutoCheckTest, TicksDuringOneSlowDownloadStartNoSecondOne) {
  server.AddEndpoint("/slow.xml", 200, std::string(100, 's'), {}, test::Behaviour::kTrickle);
  AddFeed("slow", server.Url("/slow.xml"), 1, 0);
  settings.WriteText("slow", store::kLastCheckKey, "12/7/2026 7:00:00 AM");  // due at every tick
  EXPECT_EQ(scheduler.Tick(), 1);
  while (server.HitCount("/slow.xml") == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(scheduler.Tick(), 0);
  EXPECT_EQ(scheduler.Tick(), 0);
  EXPECT_EQ(workers.RunningCount(), 1u);
  workers.CancelAll();
  EXPECT_EQ(server.HitCount("/slow.xml"), 1);
  EXPECT_FALSE(store::FileExists(dir.File("Feeds/slow.rss")));

  // Once that download has ended, the feed, still due, gets its next one.
  server.AddEndpoint("/slow.xml", 200, "<rss>now</rss>");
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_EQ(ReadFileBytes(dir.File("Feeds/slow.rss")), "<rss>now</rss>");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(AutoCheckTest, FailedDownloadLeavesNoCacheFileAndIsShownOnce) {
  AddFeed("gone", server.Url("/missing.xml"), 1, 60);
  settings.WriteText("gone", store::kLastCheckKey, "12/7/2026 7:00:00 AM");
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_FALSE(store::FileExists(dir.File("Feeds/gone.rss")));
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(LastCheck("gone"), "12/7/2026 8:03:15 AM");
}

TEST_F(AutoCheckTest, AFailingFeedIsTriedAtDoublingIntervalsUpToADayAndNeverLeftForGood) {
  server.AddEndpoint("/missing.xml", 404, "");
  AddFeed("broken", server.Url("/missing.xml"), 1, 15);
  settings.WriteText("broken", store::kLastCheckKey, "12/7/2026 7:00:00 AM");
  std::vector<int> gaps;
  int lastTry = 0;
  for (int minute = 0; minute <= 4 * 24 * 60; minute += 15, clock.AdvanceMinutes(15)) {
    const int hits = server.HitCount("/missing.xml");
    TickAndWait();
    if (server.HitCount("/missing.xml") == hits) continue;
    if (hits > 0) gaps.push_back(minute - lastTry);
    lastTry = minute;
  }
  // Every interval until the third failure in a row, then doubling up to a day, and on at that.
  const std::vector<int> expected{15, 15, 30, 60, 120, 240, 480, 960, 1440, 1440};
  ASSERT_GE(gaps.size(), expected.size());
  EXPECT_EQ(std::vector<int>(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
  const FeedState state = ReadFeedState(settings, "broken");
  EXPECT_EQ(state.failuresInARow, static_cast<int>(gaps.size()) + 1);
  EXPECT_EQ(state.lastProblem, kNotDownloaded);
  EXPECT_EQ(BackgroundHold(state, 15, clock.Now()).rfind(kSkippedWaitingPrefix, 0), 0u);

  // A "not modified" answer is the feed answering: its failures go and it is due every interval again.
  server.AddEndpoint("/missing.xml", 200, "<rss>back</rss>", {{"ETag", "\"v1\""}}, test::Behaviour::kConditional);
  settings.WriteText("broken", store::kEntityTagKey, "\"\"v1\"\"");
  clock.AdvanceMinutes(24 * 60);
  EXPECT_EQ(TickAndWait(), 1);
  EXPECT_EQ(ReadFeedState(settings, "broken").failuresInARow, 0);
  clock.AdvanceMinutes(15);
  EXPECT_EQ(TickAndWait(), 1);
}

TEST_F(AutoCheckTest, CacheFolderThatCannotBeMadeEndsTheTick) {
  test::WriteFileBytes(dir.File("Feeds"), "a file where the folder should be");
  AddFeed("news", server.Url("/a.xml"), 1, 15);
  EXPECT_EQ(TickAndWait(), 0);
  EXPECT_EQ(LastCheck("news"), "");
}

TEST_F(AutoCheckTest, ThreadTicksUntilStoppedAndNotAfter) {
  AutoCheckScheduler fast{
      {dir.Path(), dir.File("tarnwick.ini"), std::chrono::milliseconds(5)}, mainWindowOpen, clock, workers};
  AddFeed("news", server.Url("/a.xml"), 1, 0);
  settings.WriteText("news", store::kLastCheckKey, "12/7/2026 7:00:00 AM");
  ASSERT_TRUE(fast.Start());
  EXPECT_FALSE(fast.Start());
  while (server.HitCount("/a.xml") < 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  fast.Stop();
  EXPECT_FALSE(fast.Running());
  workers.WaitForAll();
  int hits = server.HitCount("/a.xml");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(server.HitCount("/a.xml"), hits);
}

TEST_F(AutoCheckTest, StopWakesAThreadWaitingForAMinute) {
  ASSERT_TRUE(scheduler.Start());
  auto before = std::chrono::steady_clock::now();
  scheduler.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
}

}  // namespace
}  // namespace tarnwick::check
