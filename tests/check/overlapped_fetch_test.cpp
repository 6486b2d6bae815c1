#include "check_fixture.h"

#include "feed/document_validators.h"
#include "feed/download_transfer.h"
#include "platform/message_box.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::check::test {
namespace {

using std::chrono::steady_clock;
using tarnwick::test::Behaviour;

std::string OneItem(const std::string& guid, int day = 1) {
  return "<rss><channel><item><title>" + guid + "</title><guid>" + guid + "</guid><pubDate>" + std::to_string(day) +
         " Jun 2003 10:00:00 GMT</pubDate></item></channel></rss>";
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

class OverlappedFetchTest : public CheckFixture {
protected:
  OverlappedFetchTest() {
    previousBox_ = platform::SetMessageBoxHandler([this](const std::string&, const std::string&) { ++boxes; });
  }
  ~OverlappedFetchTest() override { platform::SetMessageBoxHandler(previousBox_); }

  // A feed whose server honours validators (or, with kNormal, sends the ETag and ignores it).
  store::FeedSettings AddValidatedFeed(const std::string& alias, const std::string& document,
                                       Behaviour behaviour = Behaviour::kConditional) {
    store::FeedSettings feed = AddFeed(alias, document, alias + "Box");
    server.AddEndpoint("/" + alias + ".xml", 200, document,
                       {{"ETag", "\"" + alias + "-1\""}, {"Last-Modified", "Tue, 10 Jun 2003 04:00:00 GMT"}},
                       behaviour);
    return feed;
  }

  feed::DocumentValidators Validators(const std::string& alias) {
    return feed::ReadFeedValidators(store::SettingsStore(settingsPath), alias);
  }

  int boxes = 0;

private:
  platform::MessageBoxHandler previousBox_;
};

TEST_F(OverlappedFetchTest, UnchangedFeedIsAnsweredNotModifiedAndNothingIsRead) {
  auto feed = AddValidatedFeed("news", OneItem("a", 3));
  EXPECT_TRUE(Validators("news").Empty());
  run.RunSelectedFeeds({feed});
  EXPECT_EQ(Validators("news"), (feed::DocumentValidators{"\"news-1\"", "Tue, 10 Jun 2003 04:00:00 GMT"}));
  const std::string lastArticle = LastArticle("news");
  ASSERT_EQ(Messages("newsBox").size(), 1u);

  const RunReport& report = run.RunSelectedFeeds({feed});
  EXPECT_EQ(server.HitCount("/news.xml"), 2);
  EXPECT_EQ(server.ConditionalCount("/news.xml"), 1);
  EXPECT_EQ(server.LastRequestHeader("/news.xml", "If-None-Match"), "\"news-1\"");
  ASSERT_EQ(report.feeds.size(), 2u);  // the window's report holds both runs
  EXPECT_FALSE(report.feeds[0].notModified);
  // An empty body that was parsed would have failed as a document that is not well-formed.
  EXPECT_EQ(report.feeds[1].result, 0);
  EXPECT_TRUE(report.feeds[1].problem.empty()) << report.feeds[1].problem;
  EXPECT_TRUE(report.feeds[1].notModified);
  EXPECT_EQ(LastArticle("news"), lastArticle);
  EXPECT_EQ(Messages("newsBox").size(), 1u);
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(FilesIn(plugins), (std::vector<std::string>{"tarnwick.ini"}));
}

TEST_F(OverlappedFetchTest, ServerThatIgnoresValidatorsCostsOneRequestAndTheFeedIsReadAsUsual) {
  auto feed = AddValidatedFeed("news", OneItem("a", 3), Behaviour::kNormal);
  run.RunSelectedFeeds({feed});
  server.AddEndpoint("/news.xml", 200, OneItem("b", 4), {{"ETag", "\"news-2\""}});
  const RunReport& report = run.RunSelectedFeeds({feed});
  EXPECT_EQ(server.HitCount("/news.xml"), 2);
  EXPECT_EQ(server.ConditionalCount("/news.xml"), 1);
  ASSERT_EQ(report.feeds.size(), 2u);
  EXPECT_FALSE(report.feeds[1].notModified);
  EXPECT_EQ(report.feeds[1].result, 1);
  EXPECT_EQ(Validators("news"), (feed::DocumentValidators{"\"news-2\"", ""}));
}

// Validators are those of a delivered document: a document that is not read leaves them alone.
TEST_F(OverlappedFetchTest, ValidatorsOfADocumentThatCouldNotBeReadAreNotKept) {
  auto feed = AddFeed("news", OneItem("a"), "Box");
  server.AddEndpoint("/news.xml", 200, "<rss><broken>", {{"ETag", "\"bad\""}});
  const RunReport& report = run.RunSelectedFeeds({feed});
  EXPECT_EQ(report.feeds[0].result, -1);
  EXPECT_TRUE(Validators("news").Empty());
}

TEST_F(OverlappedFetchTest, CacheRunKeepsTheValidatorsOfTheDocumentItDelivered) {
  auto feed = AddFeed("news", OneItem("a"), "Box");
  const std::string cache = store::FeedCachePath(dataFolder, "news");
  std::filesystem::create_directories(dataFolder + "/Feeds");
  tarnwick::test::WriteFileBytes(cache, OneItem("a"));
  ASSERT_TRUE(feed::SaveValidatorsBeside(cache, {"\"c1\"", ""}));
  run.RunCachedFeeds();
  EXPECT_EQ(Messages("Box").size(), 1u);
  EXPECT_EQ(Validators("news").entityTag, "\"c1\"");
  EXPECT_TRUE(std::filesystem::is_empty(dataFolder + "/Feeds"));
}

TEST_F(OverlappedFetchTest, StopDuringTheSecondFeedDeliversNoThirdAndLeavesNoDocument) {
  std::vector<store::FeedSettings> feeds;
  for (int i = 1; i <= 4; ++i) {
    const std::string alias = "f" + std::to_string(i);
    feeds.push_back(AddFeed(alias, OneItem("g" + std::to_string(i)), "Box" + std::to_string(i)));
  }
  // The later documents are on their way (or in) while the second feed is read.
  server.AddEndpoint("/f4.xml", 200, OneItem("g4"), {}, Behaviour::kTrickle);
  view.onGeneralStatus = [&](const std::string& text) {
    if (text == "Checking f2 Feed for new articles...") run.RequestStop();
  };
  const RunReport& report = run.RunSelectedFeeds(feeds);
  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(report.feedsDone, 2);
  EXPECT_TRUE(Messages("Box2").empty());  // the stop came before its articles were delivered
  EXPECT_TRUE(Messages("Box3").empty());
  EXPECT_TRUE(Messages("Box4").empty());
  EXPECT_EQ(server.HitCount("/f3.xml"), 1);  // it was fetched ahead, and is thrown away
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(FilesIn(plugins), (std::vector<std::string>{"tarnwick.ini"}));  // no document, no part
}

TEST_F(OverlappedFetchTest, NeverMoreThanTwoDownloadsFromOneHostAtOnce) {
  std::vector<store::FeedSettings> feeds;
  for (int i = 1; i <= 6; ++i) {
    const std::string alias = "s" + std::to_string(i);
    feeds.push_back(AddFeed(alias, OneItem(alias), "Box"));
    server.AddEndpoint("/" + alias + ".xml", 200, OneItem(alias), {}, Behaviour::kSlow);
  }
  const RunReport& report = run.RunSelectedFeeds(feeds);
  EXPECT_EQ(report.newArticles, 6);
  // Never more than two at once from one host (on a loaded machine they may not overlap at all).
  EXPECT_LE(server.PeakConcurrency(), 2);
}

// Two servers that never answer take their time limit side by side, not one after the other,
// and the feeds after them are delivered right after.
TEST_F(OverlappedFetchTest, DeadServersDelayTheOthersNoLongerThanTheirOwnTimeLimit) {
  constexpr std::chrono::seconds kLimit{2};
  feed::DownloadLimits limits = feed::CurrentDownloadLimits();
  limits.documentTimeLimit = kLimit;
  const feed::DownloadLimits previous = feed::SetDownloadLimits(limits);
  tarnwick::test::HttpServer dead;
  std::vector<store::FeedSettings> feeds;
  for (const std::string alias : {"dead1", "dead2"}) {
    store::FeedSettings feed = AddFeed(alias, OneItem(alias), "Dead");
    feed.url = dead.Url("/" + alias + ".xml");
    dead.AddEndpoint("/" + alias + ".xml", 200, "", {}, Behaviour::kNeverAnswer);
    feeds.push_back(feed);
  }
  for (int i = 1; i <= 3; ++i) {
    store::FeedSettings feed = AddFeed("fast" + std::to_string(i), OneItem("fast" + std::to_string(i)), "Fast");
    // Another host name for the same server, so the dead host's two places do not hold them back.
    feed.url = "http://localhost:" + std::to_string(server.Port()) + "/fast" + std::to_string(i) + ".xml";
    feeds.push_back(feed);
  }
  const auto started = steady_clock::now();
  const RunReport& report = run.RunSelectedFeeds(feeds);
  const auto took = steady_clock::now() - started;
  (void)feed::SetDownloadLimits(previous);
  EXPECT_EQ(report.feeds[0].result, -1);
  EXPECT_EQ(report.feeds[1].result, -1);
  EXPECT_EQ(Messages("Fast").size(), 3u);
  // Each dead feed costs its two tries (quiet, then fresh) at the limit: one after the other
  // that is four limits; side by side two, plus the fast feeds' moments.
  EXPECT_LT(took, 3 * kLimit);
  EXPECT_EQ(boxes, 2);  // each failure is shown once, when its feed's turn comes
}

}  // namespace
}  // namespace tarnwick::check::test
