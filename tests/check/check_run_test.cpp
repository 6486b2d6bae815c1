#include "check_fixture.h"
#include "platform/file_system.h"

#include "feed/download_transfer.h"
#include "platform/message_box.h"
#include "platform/ui_pump.h"
#include "store/file_utilities.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace tarnwick::check::test {
namespace {

using std::chrono::steady_clock;

// A feed of one item, dated `day` June 2003 (undated items would all carry the fixed test time).
std::string OneItem(const std::string& guid, int day = 1) {
  return "<rss><channel><item><title>" + guid + "</title><guid>" + guid + "</guid><pubDate>" + std::to_string(day) +
         " Jun 2003 10:00:00 GMT</pubDate></item></channel></rss>";
}

using CheckRunTest = CheckFixture;

// The Stop button as the main window has it: an event of the run's own thread, which the run
// handles while it waits. It is pressed once `path` has been downloading for a while. The
// message boxes shown meanwhile are counted.
class StopButton {
public:
  StopButton(CheckRun& run, const tarnwick::test::HttpServer& server, const std::string& path) {
    previousBox_ = platform::SetMessageBoxHandler([this](const std::string&, const std::string&) { ++boxes; });
    previous_ = platform::SetMessagePump([this, &run, &server, path] {
      if (pressedAt_ != steady_clock::time_point() || server.HitCount(path) == 0) return;
      if (seenAt_ == steady_clock::time_point()) seenAt_ = steady_clock::now();
      if (steady_clock::now() - seenAt_ < std::chrono::milliseconds(700)) return;  // bytes have arrived
      pressedAt_ = steady_clock::now();
      run.RequestStop();
    });
  }
  ~StopButton() {
    platform::SetMessagePump(previous_);
    platform::SetMessageBoxHandler(previousBox_);
  }
  StopButton(const StopButton&) = delete;
  StopButton& operator=(const StopButton&) = delete;

  bool Pressed() const { return pressedAt_ != steady_clock::time_point(); }
  steady_clock::time_point PressedAt() const { return pressedAt_; }
  int boxes = 0;

private:
  platform::MessagePump previous_;
  platform::MessageBoxHandler previousBox_;
  steady_clock::time_point seenAt_;
  steady_clock::time_point pressedAt_;
};

// Download limits for one test: a failure to stop then ends in seconds, not minutes.
class ShortTimeLimits {
public:
  ShortTimeLimits() {
    feed::DownloadLimits limits = feed::CurrentDownloadLimits();
    limits.documentTimeLimit = limits.pageTimeLimit = std::chrono::seconds(10);
    previous_ = feed::SetDownloadLimits(limits);
  }
  ~ShortTimeLimits() { (void)feed::SetDownloadLimits(previous_); }

private:
  feed::DownloadLimits previous_;
};

// True when the folder holds nothing but the settings and what is known of the newsboxes.
bool OnlySettingsIn(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename() != "tarnwick.ini" && entry.path().filename() != "Known messages") return false;
  }
  return true;
}

TEST_F(CheckRunTest, StopWhileAFeedDownloadsEndsItAtOnceAndKeepsNothing) {
  ShortTimeLimits limits;
  auto slow = AddFeed("slow", OneItem("s"), "Slow");
  server.AddEndpoint("/slow.xml", 200, OneItem("s"), {}, tarnwick::test::Behaviour::kTrickle);
  auto next = AddFeed("next", OneItem("n"), "Next");
  StopButton stop(run, server, "/slow.xml");
  const RunReport& report = run.RunSelectedFeeds({slow, next});
  auto ended = steady_clock::now();
  ASSERT_TRUE(stop.Pressed());
  EXPECT_LT(ended - stop.PressedAt(), std::chrono::seconds(1));
  EXPECT_TRUE(report.stopped);
  ASSERT_EQ(report.feeds.size(), 1u);
  EXPECT_EQ(report.feeds[0].result, -1);
  EXPECT_EQ(report.feeds[0].problem, "stopped");
  EXPECT_EQ(server.HitCount("/slow.xml"), 1);  // the fresh fetch after the quiet one did not connect
  EXPECT_TRUE(Messages("Next").empty());       // its document may have come ahead; it is not checked
  EXPECT_EQ(stop.boxes, 0);                    // a stop is no failure to show
  EXPECT_TRUE(Messages("Slow").empty());
  EXPECT_TRUE(OnlySettingsIn(plugins));  // no feed.xml, whole or partial
  EXPECT_NE(std::find(view.general.begin(), view.general.end(), "Going offline now... Please wait."),
            view.general.end());
  EXPECT_EQ(view.controls, (std::vector<bool>{false, true}));

  // The next run starts afresh: the earlier stop does not end it.
  run.RunSelectedFeeds({next});
  EXPECT_EQ(Messages("Next").size(), 1u);
}

TEST_F(CheckRunTest, StopWhileAFullArticleDownloadsDeliversNothingAndTheNextRunBringsTheArticleWithItsPage) {
  ShortTimeLimits limits;
  std::string page = server.Url("/page.html");
  auto feed = AddFeed("pages",
                      "<rss><channel><item><title>t</title><guid>g</guid><link>" + page +
                          "</link><pubDate>1 Jun 2003 10:00:00 GMT</pubDate></item></channel></rss>",
                      "Pages");
  feed.downloadReferringArticles = 1;
  server.AddEndpoint("/page.html", 200, "<p>" + std::string(100, 'P') + "</p>", {},
                     tarnwick::test::Behaviour::kTrickle);
  StopButton stop(run, server, "/page.html");
  const RunReport& report = run.RunSelectedFeeds({feed});
  auto ended = steady_clock::now();
  ASSERT_TRUE(stop.Pressed());
  EXPECT_LT(ended - stop.PressedAt(), std::chrono::seconds(1));
  EXPECT_EQ(report.lastResult, 0);
  EXPECT_EQ(report.stoppedFeed, "pages Feed");
  EXPECT_TRUE(Messages("Pages").empty());  // an article is never delivered without the page it asks for
  EXPECT_EQ(server.HitCount("/page.html"), 1);
  EXPECT_TRUE(OnlySettingsIn(plugins));  // no article.html, whole or partial

  server.AddEndpoint("/page.html", 200, "<p>" + std::string(100, 'P') + "</p>");
  run.RunSelectedFeeds({feed});
  auto messages = Messages("Pages");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("PP"), std::string::npos);
}

// A stop in any phase of a feed's check ends it there: what was moved stays, nothing else is
// delivered, nothing is recorded for the feed, and the next run brings the rest without duplicates.
TEST_F(CheckRunTest, StopInEachPhaseKeepsWhatWasMovedAndTheNextRunBringsTheRest) {
  struct Phase {
    const char* name;
    int movedBeforeStop;
  };
  for (const Phase phase : {Phase{"walking", 0}, Phase{"staging", 0}, Phase{"moving", 1}}) {
    SCOPED_TRACE(phase.name);
    const std::string alias = std::string("f-") + phase.name;
    std::string items;
    for (int day = 1; day <= 3; ++day) {
      const std::string guid = alias + std::to_string(day);
      items += "<item><title>" + guid + "</title><guid>" + guid + "</guid><pubDate>" + std::to_string(day) +
               " Jun 2003 10:00:00 GMT</pubDate></item>";
    }
    auto feed = AddFeed(alias, "<rss><channel>" + items + "</channel></rss>", alias);
    const std::string lastArticleBefore = LastArticle(alias);
    const std::string phaseName = phase.name;
    view.onGeneralStatus = [&](const std::string& text) {
      if (phaseName == "walking" && text.starts_with("Checking ")) run.RequestStop();
    };
    view.onDetailsStatus = [&](const std::string& text) {
      if (phaseName == "staging" && text.find(" by ") != std::string::npos) run.RequestStop();
    };
    receiver.onNotice = [&](const mailbox::NewArticleNotice&) {
      if (phaseName == "moving") run.RequestStop();
    };
    const RunReport& report = run.RunSelectedFeeds({feed});
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.stoppedFeed, alias + " Feed");
    EXPECT_EQ(report.feedsDone, 1);
    EXPECT_EQ(report.feeds.back().problem, "stopped");
    EXPECT_EQ(report.feeds.back().result, phase.movedBeforeStop);
    EXPECT_EQ(Messages(alias).size(), static_cast<size_t>(phase.movedBeforeStop));
    EXPECT_EQ(LastArticle(alias), lastArticleBefore);

    view.onGeneralStatus = nullptr;
    view.onDetailsStatus = nullptr;
    receiver.onNotice = nullptr;
    EXPECT_EQ(run.RunSelectedFeeds({feed}).feeds.back().problem, "");
    EXPECT_EQ(Messages(alias).size(), 3u);
    EXPECT_NE(LastArticle(alias), lastArticleBefore);
  }
}

TEST_F(CheckRunTest, StopDuringTheThirdFeedEndsItThereAndSkipsTheRest) {
  std::vector<store::FeedSettings> feeds;
  for (int i = 1; i <= 5; ++i) {
    feeds.push_back(AddFeed("f" + std::to_string(i), OneItem("g" + std::to_string(i)), "Box" + std::to_string(i)));
  }
  view.onGeneralStatus = [&](const std::string& text) {
    if (text == "Checking f3 Feed for new articles...") run.RequestStop();
  };
  const RunReport& report = run.RunSelectedFeeds(feeds);
  EXPECT_EQ(report.feedsDone, 3);
  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(report.newArticles, 2);
  EXPECT_EQ(report.lastFeedName, "f3 Feed");
  EXPECT_EQ(report.stoppedFeed, "f3 Feed");
  EXPECT_TRUE(Messages("Box3").empty());
  EXPECT_TRUE(Messages("Box4").empty());  // their documents may have come ahead; they are not checked
  EXPECT_TRUE(Messages("Box5").empty());
  EXPECT_NE(std::find(view.general.begin(), view.general.end(), "Going offline now... Please wait."),
            view.general.end());
  EXPECT_EQ(view.general.back(), "Ready. For Help, press F1.");
  EXPECT_EQ(view.controls, (std::vector<bool>{false, true}));
  EXPECT_EQ(view.newsboardForward, 1);
  // After each feed that staged articles and once more at the end "Pending" is closed and the
  // window takes the focus.
  EXPECT_EQ(view.focused, 3);
  EXPECT_EQ(WindowTitles(), (std::vector<std::string>{"Box2", "Box1"}));
}

TEST_F(CheckRunTest, RunThatDeliversNothingLeavesTheNewsboardAlone) {
  auto feed = AddFeed("empty", "<rss><channel><title>Nothing</title></channel></rss>", "Empty");
  const RunReport& report = run.RunSelectedFeeds({feed});
  EXPECT_EQ(report.newArticles, 0);
  EXPECT_EQ(report.lastResult, 0);
  EXPECT_EQ(view.newsboardForward, 0);
}

TEST_F(CheckRunTest, HostUnreachableShowsTheCounterInTheDetailsLine) {
  auto feed = AddFeed("quiet", OneItem("q"), "Quiet");
  SetAutomation(false);
  const RunReport& report = run.RunSelectedFeeds({feed});
  EXPECT_EQ(report.lastResult, 0);
  EXPECT_EQ(view.details.back(), "0");
  EXPECT_NE(view.general.back(), "Ready. For Help, press F1.");
}

TEST_F(CheckRunTest, CacheRunChecksEveryCachedDocumentSubFoldersFirst) {
  AddFeed("news", OneItem("unused"), "News");
  std::string cache = dataFolder + "/Feeds";
  platform::MakeFolder(cache);
  platform::MakeFolder(cache + "/older");
  tarnwick::test::WriteFileBytes(cache + "/news.rss", OneItem("top", 2));
  tarnwick::test::WriteFileBytes(cache + "/older/news.rss", OneItem("nested", 1));
  tarnwick::test::WriteFileBytes(cache + "/nodot", OneItem("ignored"));
  tarnwick::test::WriteFileBytes(cache + "/unknown.rss", OneItem("nobody"));

  const RunReport& report = run.RunCachedFeeds();
  ASSERT_EQ(report.feeds.size(), 3u);
  EXPECT_EQ(report.feeds[0].alias, "news");
  EXPECT_EQ(report.feeds[0].result, 1);
  EXPECT_EQ(report.feeds[1].result + report.feeds[2].result, 0);  // the top news document 1, unknown.rss -1
  auto messages = Messages("News");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("Subject: nested"), std::string::npos);
  EXPECT_EQ(server.HitCount("/news.xml"), 0);
  // A document of a feed that no longer exists stays for a later run, as does a name without a dot.
  EXPECT_TRUE(store::FileExists(cache + "/unknown.rss"));
  EXPECT_TRUE(store::FileExists(cache + "/nodot"));
  EXPECT_FALSE(store::FileExists(cache + "/news.rss"));
  EXPECT_TRUE(view.controls.empty());
}

TEST_F(CheckRunTest, CacheRunFindsTheFeedByItsCacheFileWhateverItsAliasHolds) {
  AddFeed("example.org", OneItem("dotted"), "Dotted");
  AddFeed("Tech: News?", OneItem("unsafe"), "Unsafe");
  platform::MakeFolder(dataFolder + "/Feeds");
  for (const char* alias : {"example.org", "Tech: News?"}) {
    tarnwick::test::WriteFileBytes(store::FeedCachePath(dataFolder, alias), OneItem(alias));
  }

  const RunReport& report = run.RunCachedFeeds();
  ASSERT_EQ(report.feeds.size(), 2u);
  for (const FeedOutcome& feed : report.feeds) {
    EXPECT_EQ(feed.result, 1) << feed.alias << ": " << feed.problem;
    EXPECT_FALSE(store::FileExists(store::FeedCachePath(dataFolder, feed.alias))) << feed.alias;
  }
  EXPECT_EQ(Messages("Dotted").size(), 1u);
  EXPECT_EQ(Messages("Unsafe").size(), 1u);
  EXPECT_EQ(server.HitCount("/example.org.xml"), 0);
  EXPECT_THAT(view.general, ::testing::Contains("example.org Feed >> Checking the cache for new articles..."));
  EXPECT_THAT(view.general, ::testing::Contains("Tech: News? Feed >> Checking the cache for new articles..."));
}

}  // namespace
}  // namespace tarnwick::check::test
