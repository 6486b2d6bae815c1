// The main window's lists and selection rules, on a real settings file and real tables of contents.
#include "ui/main_window_model.h"

#include "platform/date_time.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/temp_dir.h"
#include "ui/feed_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tarnwick::ui {
namespace {

using test::WriteFileBytes;

// A table of contents with one entry per state (0 = unread), laid out as the host writes it.
std::string TocWithStates(const std::vector<int16_t>& states) {
  std::string toc(104 + states.size() * 218, '\0');
  toc[102] = static_cast<char>(states.size() & 0xff);
  toc[103] = static_cast<char>(states.size() >> 8);
  for (size_t i = 0; i < states.size(); ++i) {
    toc[104 + i * 218 + 12] = static_cast<char>(states[i] & 0xff);
    toc[104 + i * 218 + 13] = static_cast<char>((states[i] >> 8) & 0xff);
  }
  return toc;
}

class MainWindowModelTest : public ::testing::Test {
protected:
  // A feed in the settings file whose newsbox `newsbox` has a mailbox file (and a table of
  // contents with `states`, unless null) in the data folder.
  store::FeedSettings WriteFeed(const std::string& alias, const std::string& newsbox,
                                const std::vector<int16_t>* states = nullptr) {
    const std::string mailbox = dir.File(newsbox + ".mbx");
    WriteFileBytes(mailbox, "");
    if (states != nullptr) WriteFileBytes(dir.File(newsbox + ".toc"), TocWithStates(*states));
    store::FeedSettings feed{alias, alias + " Feed", "http://127.0.0.1/" + alias, newsbox, mailbox, 0, 1, 0, 0, 1};
    settings.WriteFeed(feed, "");
    return feed;
  }

  std::vector<std::string> Aliases(const MainWindowModel& model) {
    std::vector<std::string> aliases;
    for (const store::FeedSettings& feed : model.Feeds()) aliases.push_back(feed.alias);
    return aliases;
  }

  std::vector<std::string> RowTexts(const MainWindowModel& model) {
    std::vector<std::string> texts;
    for (const NewsboxRow& row : model.Newsboxes()) texts.push_back(row.Text());
    return texts;
  }

  test::TempDir dir;
  std::string settingsPath = dir.File("tarnwick.ini");
  store::SettingsStore settings{settingsPath};
  MainWindowModel model{settingsPath};
};

TEST(FeedImage, ComesFromTheThreeOptionsFullArticlesOnlyNewAndAutoCheck) {
  store::FeedSettings feed;
  for (int image = 0; image < 8; ++image) {
    feed.downloadReferringArticles = image & 1;
    feed.downloadOnlyNewArticles = (image & 2) != 0 ? 5 : 0;  // any value but 0 counts as set
    feed.autoCheck = (image & 4) != 0 ? 1 : 0;
    EXPECT_EQ(FeedImageOf(feed), image) << image;
  }
}

TEST_F(MainWindowModelTest, FeedsAreListedByAliasWithoutRegardToCase) {
  std::vector<int16_t> none;
  WriteFeed("beta", "Beta", &none);
  WriteFeed("Alpha", "Alpha", &none);
  WriteFeed("gamma", "Gamma", &none);
  model.Load();
  EXPECT_EQ(Aliases(model), (std::vector<std::string>{"Alpha", "beta", "gamma"}));

  store::FeedSettings added{"Basil", "Basil", "http://127.0.0.1/b", "Beta", dir.File("Beta.mbx"), 0, 1, 0, 0, 1};
  EXPECT_EQ(model.AddFeed(added), 1u);
  EXPECT_EQ(Aliases(model), (std::vector<std::string>{"Alpha", "Basil", "beta", "gamma"}));
}

TEST_F(MainWindowModelTest, NewsboxesAreListedOnceByNameWithTheirCounts) {
  std::vector<int16_t> mixed{0, 1, 0};
  std::vector<int16_t> allRead{1, 2};
  std::vector<int16_t> empty;
  WriteFeed("tech", "tech", &mixed);
  WriteFeed("world", "World", &allRead);
  WriteFeed("more-tech", "tech", &mixed);  // the same newsbox again
  WriteFeed("art", "Art", &empty);
  model.Load();
  EXPECT_EQ(RowTexts(model), (std::vector<std::string>{"Art (0/0)", "tech (2/3)", "World (0/2)"}));
  EXPECT_EQ(model.Newsboxes()[0].Image(), kEmptyNewsboxImage);
  EXPECT_EQ(model.Newsboxes()[1].Image(), kUnreadNewsboxImage);
  EXPECT_EQ(model.Newsboxes()[2].Image(), kAllReadNewsboxImage);
  EXPECT_EQ(model.Newsboxes()[1].tocPath, dir.File("tech.toc"));

  // The same mailbox under another spelling of its path is not listed twice.
  const std::string& path = model.Newsboxes()[1].mailboxPath;
  std::string shouted = path.substr(0, path.size() - 8) + "TECH.MBX";
  EXPECT_FALSE(model.AddNewsbox("Tech again", shouted));
  EXPECT_EQ(model.Newsboxes().size(), 3u);
}

TEST_F(MainWindowModelTest, AFeedWhoseMailboxFileIsMissingStaysButItsNewsboxIsLeftOut) {
  store::FeedSettings feed = WriteFeed("lost", "Lost");
  std::remove(feed.newsboxPath.c_str());
  model.Load();
  EXPECT_EQ(Aliases(model), (std::vector<std::string>{"lost"}));
  EXPECT_TRUE(model.Newsboxes().empty());
}

TEST_F(MainWindowModelTest, UpdatingAFeedMovesItToItsNewAliasAndUnknownAliasesAreIgnored) {
  std::vector<int16_t> none;
  WriteFeed("alpha", "A", &none);
  WriteFeed("beta", "B", &none);
  model.Load();
  store::FeedSettings renamed = model.Feeds()[0];
  renamed.alias = "zeta";
  renamed.autoCheck = 1;
  EXPECT_EQ(model.UpdateFeed("ALPHA", renamed), 1u);
  EXPECT_EQ(Aliases(model), (std::vector<std::string>{"beta", "zeta"}));
  EXPECT_EQ(FeedImageOf(model.Feeds()[1]), 6);
  EXPECT_FALSE(model.UpdateFeed("nobody", renamed).has_value());
  EXPECT_EQ(model.Feeds().size(), 2u);
}

TEST_F(MainWindowModelTest, DeletingAFeedRemovesItFromTheFileAndKeepsItsNewsbox) {
  std::vector<int16_t> none;
  WriteFeed("alpha", "Shared", &none);
  WriteFeed("beta", "Other", &none);
  model.Load();
  EXPECT_FALSE(model.DeleteFeed(2));
  ASSERT_TRUE(model.DeleteFeed(0));
  EXPECT_EQ(Aliases(model), (std::vector<std::string>{"beta"}));
  EXPECT_EQ(RowTexts(model), (std::vector<std::string>{"Other (0/0)", "Shared (0/0)"}));
  EXPECT_EQ(settings.ReadText(store::kAliasesSection, "alpha", "gone"), "gone");
  EXPECT_EQ(settings.ReadText("alpha", store::kUrlKey, "gone"), "gone");
  EXPECT_EQ(settings.ReadText(store::kAliasesSection, "beta", "gone"), "beta Feed");
}

TEST_F(MainWindowModelTest, OneSelectedFeedShowsItsLastArticleAndFindsItsNewsbox) {
  std::vector<int16_t> none;
  WriteFeed("alpha", "Alpha box", &none);
  WriteFeed("beta", "Beta box", &none);
  settings.WriteText("beta", store::kLastArticleKey, "06/10/2003 04:00:00");
  model.Load();

  FeedSelectionState one = model.SelectFeeds({1});
  EXPECT_TRUE(one.editAndDeleteEnabled);
  EXPECT_TRUE(one.downloadEnabled);
  EXPECT_FALSE(one.clockRuns);
  EXPECT_EQ(one.informationText, "beta - Last Article: \n06/10/2003 04:00:00");
  EXPECT_EQ(one.newsbox, 1u);
}

TEST_F(MainWindowModelTest, AFeedWithoutNewsboxKeyIsMatchedByItsSafeAlias) {
  std::vector<int16_t> none;
  WriteFeed("news", "news", &none);
  settings.DeleteKey("news", store::kNewsboxKey);
  WriteFeed("other", "Other", &none);
  model.Load();
  FeedSelectionState state = model.SelectFeeds({0});
  EXPECT_EQ(state.newsbox, 0u);
  EXPECT_EQ(model.FeedsOfNewsbox(0), (std::vector<size_t>{0}));
}

TEST_F(MainWindowModelTest, SeveralOrNoSelectedFeedsDisableEditAndDeleteAndRunTheClock) {
  std::vector<int16_t> none;
  WriteFeed("alpha", "A", &none);
  WriteFeed("beta", "B", &none);
  model.Load();

  FeedSelectionState two = model.SelectFeeds({0, 1});
  EXPECT_FALSE(two.editAndDeleteEnabled);
  EXPECT_TRUE(two.downloadEnabled);
  EXPECT_TRUE(two.clockRuns);
  EXPECT_EQ(two.informationText, "");
  EXPECT_FALSE(two.newsbox.has_value());

  FeedSelectionState none_ = model.SelectFeeds({});
  EXPECT_FALSE(none_.editAndDeleteEnabled);
  EXPECT_FALSE(none_.downloadEnabled);
  EXPECT_TRUE(none_.clockRuns);
}

TEST_F(MainWindowModelTest, ANewsboxSelectsTheFeedsThatDeliverIntoItWhateverTheCase) {
  std::vector<int16_t> none;
  WriteFeed("alpha", "Tech", &none);
  WriteFeed("beta", "World", &none);
  WriteFeed("gamma", "Tech", &none);
  settings.WriteText("gamma", store::kNewsboxKey, "TECH");
  model.Load();
  ASSERT_EQ(model.Newsboxes()[0].name, "Tech");
  EXPECT_EQ(model.FeedsOfNewsbox(0), (std::vector<size_t>{0, 2}));
  EXPECT_EQ(model.FeedsOfNewsbox(1), (std::vector<size_t>{1}));
  EXPECT_TRUE(model.FeedsOfNewsbox(2).empty());
}

TEST(MainWindowClock, ShowsTheTimeOnItsOwnLine) {
  EXPECT_EQ(MainWindowModel::ClockText(platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15)),
            "Current Time: \n12/07/2026 07:03:15");
}

TEST_F(MainWindowModelTest, FirstStartLastsUntilTheSettingsFileExistsAndThePositionIsKept) {
  EXPECT_TRUE(model.IsFirstStart());
  EXPECT_EQ(model.SavedPosition(), (std::pair<int, int>{0, 0}));
  model.SavePosition(120, -4);
  EXPECT_FALSE(model.IsFirstStart());
  EXPECT_EQ(model.SavedPosition(), (std::pair<int, int>{120, -4}));
  EXPECT_EQ(settings.ReadInt(store::kWindowsSection, "PositionLeft", 0), 120);
}

TEST(RunReport, IsShownOnlyAfterAFeedWasChecked) {
  check::RunReport report;
  EXPECT_FALSE(RunReportInfo(report, "Tarnwick").has_value());  // -2: nothing ran
  report.lastResult = kNewsboxOpenedResult;
  EXPECT_FALSE(RunReportInfo(report, "Tarnwick").has_value());
  report.lastResult = -1;
  report.feedsDone = 1;
  report.lastFeedName = "Broken";
  report.lastFeedUrl = "http://127.0.0.1/broken.xml";
  report.lastFeedNewsbox = "News";
  std::optional<FeedInfo> info = RunReportInfo(report, "Tarnwick");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->mode, FeedInfoMode::kCheckResult);
  EXPECT_EQ(info->lastResult, -1);
  EXPECT_EQ(ComposeFeedInfo(*info).title, "Tarnwick - Feed Error");
  EXPECT_NE(ComposeFeedInfo(*info).text.find(" Feed: Broken\n URL: http://127.0.0.1/broken.xml\n Mailbox: News"),
            std::string::npos);
}

TEST(RunReport, AStoppedRunSaysSoAndWhereItStoppedInsteadOfCallingTheFeedInvalid) {
  check::RunReport report;
  report.lastResult = -1;  // stopped while its document downloaded
  report.feedsDone = 2;
  report.newArticles = 3;
  report.lastFeedName = "Slow";
  report.lastFeedUrl = "http://127.0.0.1/slow.xml";
  report.lastFeedNewsbox = "News";
  report.stopped = true;
  report.stoppedFeed = "Slow";
  FeedInfoMessage message = ComposeFeedInfo(*RunReportInfo(report, "Tarnwick"));
  EXPECT_EQ(message.title, "Tarnwick - Stopped");
  EXPECT_EQ(message.text,
            " Feed: Slow\n URL: http://127.0.0.1/slow.xml\n Mailbox: News\n\n\n"
            "\t\tYou stopped the run while this feed was being checked.\n"
            "\t\tBefore that, you've got 3 new articles.\n"
            "\t\tWhat did not arrive comes with the next check.");
  EXPECT_FALSE(message.verifyShown);
  EXPECT_FALSE(message.playSound);

  report.stoppedFeed.clear();  // the stop came between two feeds
  report.newArticles = 0;
  message = ComposeFeedInfo(*RunReportInfo(report, "Tarnwick"));
  EXPECT_EQ(message.text,
            "\n\n\t\t\tYou stopped the run before its next feed.\n"
            "\t\tNo new article arrived before that.\n"
            "\t\tWhat did not arrive comes with the next check.");
}

}  // namespace
}  // namespace tarnwick::ui
