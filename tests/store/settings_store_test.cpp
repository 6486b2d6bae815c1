#include "store/settings_store.h"

#include "store/settings_keys.h"
#include "store/store_texts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::store {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class RecordingSink : public FeedListSink {
public:
  void AddFeed(const FeedSettings& feed) override { feeds.push_back(feed); }
  void AddNewsbox(const std::string& path, const std::string& name) override { newsboxes.emplace_back(path, name); }
  std::vector<FeedSettings> feeds;
  std::vector<std::pair<std::string, std::string>> newsboxes;
};

class SettingsStoreTest : public ::testing::Test {
protected:
  std::vector<FeedSettings> LoadFeeds() {
    RecordingSink sink;
    EXPECT_TRUE(store.LoadFeedList(sink));
    return sink.feeds;
  }

  TempDir dir;
  std::string path = dir.File("tarnwick.ini");
  SettingsStore store{path};
};

TEST_F(SettingsStoreTest, AliasesAreSplitAtTheFirstEqualsSign) {
  WriteFileBytes(path,
                 "[Aliases]\nnews=Daily News\na=b=c\n"
                 "[news]\nURL=http://n\n[a]\nURL=http://a\n");
  auto feeds = LoadFeeds();
  ASSERT_EQ(feeds.size(), 2u);
  EXPECT_EQ(feeds[0].alias, "news");
  EXPECT_EQ(feeds[0].name, "Daily News");
  EXPECT_EQ(feeds[1].alias, "a");
  EXPECT_EQ(feeds[1].name, "b=c");
}

TEST_F(SettingsStoreTest, UnusableAliasEntriesAreLeftOutButStayInTheFile) {
  std::string text =
      "[Aliases]\nnoname=\n=Nameless\nnourl=No URL\nbare line\nok=Fine\n"
      "[noname]\nURL=http://x\n[nourl]\nName=No URL\n[ok]\nURL=http://ok\n";
  WriteFileBytes(path, text);
  auto feeds = LoadFeeds();
  ASSERT_EQ(feeds.size(), 1u);
  EXPECT_EQ(feeds[0].alias, "ok");
  EXPECT_EQ(ReadFileBytes(path), text);
}

TEST_F(SettingsStoreTest, AbsentKeysReadAsTheirDefaults) {
  WriteFileBytes(path, "[Aliases]\nTech: News?=Tech\n[Tech: News?]\nURL=http://t\n");
  RecordingSink sink;
  store.LoadFeedList(sink);
  ASSERT_EQ(sink.feeds.size(), 1u);
  const FeedSettings& feed = sink.feeds[0];
  EXPECT_EQ(feed.newsbox, "Tech News");
  EXPECT_EQ(feed.newsboxPath, "");
  EXPECT_EQ(feed.downloadReferringArticles, 0);
  EXPECT_EQ(feed.downloadOnlyNewArticles, 1);
  EXPECT_EQ(feed.autoCheck, 0);
  EXPECT_EQ(feed.intervalMinutes, 0);
  EXPECT_EQ(feed.notifyNewsBoard, 1);
  ASSERT_EQ(sink.newsboxes.size(), 1u);
  EXPECT_EQ(sink.newsboxes[0], std::make_pair(std::string(), std::string("Tech News")));
  EXPECT_EQ(store.ReadText("Tech: News?", kLastArticleKey, kDefaultLastArticle), "1/1/1970 11:10:00");
}

TEST_F(SettingsStoreTest, EmptyValueIsNotTheDefault) {
  WriteFileBytes(path, "[f]\nLastArticle=\n");
  EXPECT_EQ(store.ReadText("f", kLastArticleKey, kDefaultLastArticle), "");
}

TEST_F(SettingsStoreTest, IntegersReadTheirLeadingDigits) {
  WriteFileBytes(path, "[f]\na=abc\nb=15 min\nc=-7x\nd= +42\ne=99999999999\n");
  EXPECT_EQ(store.ReadInt("f", "a", 5), 0);
  EXPECT_EQ(store.ReadInt("f", "b", 5), 15);
  EXPECT_EQ(store.ReadInt("f", "c", 5), -7);
  EXPECT_EQ(store.ReadInt("f", "d", 5), 42);
  EXPECT_EQ(store.ReadInt("f", "e", 5), INT32_MAX);
  EXPECT_EQ(store.ReadInt("f", "absent", -3), -3);
}

TEST_F(SettingsStoreTest, TextsAreCutTo254Characters) {
  WriteFileBytes(path, "[f]\nlong=" + std::string(300, 'x') + "\n");
  EXPECT_EQ(store.ReadText("f", "long", ""), std::string(254, 'x'));
  EXPECT_EQ(store.ReadText("f", "absent", std::string(300, 'd')), std::string(254, 'd'));
}

TEST_F(SettingsStoreTest, ValuesThatWouldNotReadBackWholeAreRefusedAndNothingIsWritten) {
  const std::string before = "[Aliases]\nnews=Daily News\n";
  WriteFileBytes(path, before);
  EXPECT_FALSE(store.WriteText("f", "long", std::string(255, 'x')));
  EXPECT_FALSE(store.WriteText("f", "zero", std::string("a\0b", 3)));
  const FeedSettings fits{std::string(40, 'a'),
                          std::string(58, 'n'),
                          "http://n/" + std::string(245, 'u'),
                          std::string(254, 'b'),
                          "/" + std::string(253, 'p'),
                          0,
                          1,
                          0,
                          0,
                          1};
  FeedSettings longName = fits;
  longName.name += "n";  // "alias=name" of 100 bytes
  FeedSettings noRoomForAName = fits;
  noRoomForAName.alias = std::string(98, 'a');
  noRoomForAName.name.clear();
  FeedSettings longUrl = fits;
  longUrl.url += "u";
  FeedSettings longPath = fits;
  longPath.newsboxPath += "p";
  const std::pair<FeedSettings, const char*> refused[] = {{longName, kFeedNameTooLongText},
                                                          {noRoomForAName, kFeedNameTooLongText},
                                                          {longUrl, kFeedValueTooLongText},
                                                          {longPath, kFeedValueTooLongText}};
  for (const auto& [feed, message] : refused) {
    EXPECT_EQ(CheckFeedStorable(feed).message, message) << feed.alias;
    EXPECT_FALSE(store.WriteFeed(feed, "")) << feed.alias;
  }
  EXPECT_EQ(ReadFileBytes(path), before);

  EXPECT_TRUE(store.WriteText("f", "long", std::string(254, 'x')));
  ASSERT_TRUE(store.WriteFeed(fits, ""));
  EXPECT_EQ(LoadFeeds().back(), fits);  // every value read back whole
}

TEST_F(SettingsStoreTest, SectionReadSeesEveryEntryHoweverLongTheSection) {
  // 1,000 entries, far beyond what a fixed 2,048-byte section buffer would hold.
  std::string text = "[Aliases]\n";
  for (int i = 0; i < 1000; ++i) text += "alias" + std::to_string(i) + "=" + std::string(20, 'n') + "\n";
  for (int i = 0; i < 1000; ++i) text += "[alias" + std::to_string(i) + "]\nURL=http://h/" + std::to_string(i) + "\n";
  WriteFileBytes(path, text);
  std::vector<std::string> entries;
  EXPECT_TRUE(store.ReadSectionEntries(entries, kAliasesSection));
  ASSERT_EQ(entries.size(), 1000u);
  EXPECT_EQ(entries.back(), "alias999=" + std::string(20, 'n'));
  auto feeds = LoadFeeds();
  ASSERT_EQ(feeds.size(), 1000u);
  EXPECT_EQ(feeds.back().url, "http://h/999");

  WriteFileBytes(path, "[S]\n" + std::string(150, 'k') + "=long\nnoequals\n");
  entries.clear();
  store.ReadSectionEntries(entries, "S");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0], std::string(99, 'k'));
}

TEST_F(SettingsStoreTest, WriteFeedPutsTheNineKeysInOrderIntoAFreshFile) {
  FeedSettings feed{"news", "Daily News", "http://n/rss", "News", "/data/News.mbx", 1, 0, 1, 30, 1};
  ASSERT_TRUE(store.WriteFeed(feed, "06/10/2003 04:00:00"));
  EXPECT_EQ(ReadFileBytes(path),
            "[Aliases]\nnews=Daily News\n"
                        "[news]\nName=Daily News\nURL=http://n/rss\nNewsbox=News\nNewsboxPath=/data/News.mbx\n"
                        "DownloadReferringArticles=1\nDownloadOnlyNewArticles=0\nLastArticle=06/10/2003 04:00:00\n"
                        "AutoCheck=1\nIntervalMinutes=30\n");
}

TEST_F(SettingsStoreTest, EditingAFeedRebuildsItsSectionWithoutLastCheck) {
  FeedSettings feed{"news", "Daily News", "http://n/rss", "News", "", 0, 1, 1, 15, 1};
  store.WriteFeed(feed, "");
  store.WriteText("news", kLastCheckKey, "12/7/2026 7:03:15 AM");
  store.WriteInt("news", kNotifyNewsBoardKey, 0);
  std::string kept = store.ReadText("news", kLastArticleKey, kDefaultLastArticle);
  store.RemoveFeed("news");
  feed.url = "http://n/new";
  store.WriteFeed(feed, kept);
  std::vector<std::string> lines;
  store.ReadSectionEntries(lines, "news");
  EXPECT_EQ(lines, (std::vector<std::string>{"Name=Daily News", "URL=http://n/new", "Newsbox=News",
                                             "NewsboxPath=", "DownloadReferringArticles=0", "DownloadOnlyNewArticles=1",
                                             "LastArticle=", "AutoCheck=1", "IntervalMinutes=15"}));
}

// The validators belong to the document last delivered under the old settings (another URL,
// perhaps): an edited feed is fetched whole once.
TEST_F(SettingsStoreTest, EditingAFeedDropsTheValidatorsOfItsLastDocument) {
  FeedSettings feed{"news", "Daily News", "http://n/rss", "News", "", 0, 1, 0, 0, 1};
  store.WriteFeed(feed, "");
  store.WriteText("news", kEntityTagKey, "W/\"abc\"");
  store.WriteText("news", kLastModifiedKey, "Tue, 10 Jun 2003 04:00:00 GMT");
  std::string kept = store.ReadText("news", kLastArticleKey, kDefaultLastArticle);
  store.RemoveFeed("news");
  store.WriteFeed(feed, kept);
  EXPECT_EQ(store.ReadText("news", kEntityTagKey, "absent"), "absent");
  EXPECT_EQ(store.ReadText("news", kLastModifiedKey, "absent"), "absent");
}

TEST_F(SettingsStoreTest, AliasesThatWouldNotReadBackAreRefusedWithTheirReasonAndNothingIsWritten) {
  const std::string before = "[Aliases]\nnews=Daily News\n[news]\nURL=http://n\n";
  WriteFileBytes(path, before);
  const std::pair<std::string, const char*> refused[] = {
      {"", kAliasEmptyText},
      {"a\nb", kAliasControlCharacterText},
      {"a\tb", kAliasControlCharacterText},
      {std::string("news\0x", 6), kAliasControlCharacterText},
      {"news=x", kAliasReservedCharacterText},
      {"Tech [beta]", kAliasReservedCharacterText},
      {"[x", kAliasReservedCharacterText},
      {"x]", kAliasReservedCharacterText},
      {";news", kAliasCommentMarkText},
      {" news", kAliasOuterBlankText},
      {"news ", kAliasOuterBlankText},
  };
  for (const auto& [alias, message] : refused) {
    AliasCheck check = CheckAliasStorable(alias);
    EXPECT_FALSE(check.storable) << alias;
    EXPECT_EQ(check.message, message) << alias;
    EXPECT_FALSE(store.WriteFeed({alias, "Other", "http://o", "Box", "", 0, 1, 0, 0, 1}, "")) << alias;
  }
  EXPECT_EQ(ReadFileBytes(path), before);

  for (const char* alias : {"news", "Tech: News?", "example.org", "a;b", "caf\xc3\xa9", "\"quoted\""}) {
    AliasCheck check = CheckAliasStorable(alias);
    EXPECT_TRUE(check.storable) << alias;
    EXPECT_EQ(check.message, "") << alias;
  }
}

TEST_F(SettingsStoreTest, HandWrittenSectionsWithBracketsAndCommentsReadAsTheyLook) {
  WriteFileBytes(path,
                 "[Aliases]\n; old=Retired Feed\nTech [beta]=Tech Beta\n"
                 "[old]\nURL=http://old\n"
                 "[Tech [beta]]\n  URL = \"http://t/rss\"  \n");
  auto feeds = LoadFeeds();
  ASSERT_EQ(feeds.size(), 1u);
  EXPECT_EQ(feeds[0].alias, "Tech [beta]");
  EXPECT_EQ(feeds[0].url, "http://t/rss");
  std::vector<std::string> entries;
  store.ReadSectionEntries(entries, kAliasesSection);
  EXPECT_EQ(entries, std::vector<std::string>{"Tech [beta]=Tech Beta"});
}

TEST_F(SettingsStoreTest, RemoveFeedLeavesOtherFeedsUntouched) {
  store.WriteFeed({"one", "One", "http://1", "Box1", "", 0, 1, 0, 0, 1}, "");
  store.WriteFeed({"two", "Two", "http://2", "Box2", "", 0, 1, 0, 0, 1}, "");
  ASSERT_TRUE(store.RemoveFeed("ONE"));
  std::vector<std::string> aliases;
  store.ReadSectionEntries(aliases, kAliasesSection);
  EXPECT_EQ(aliases, std::vector<std::string>{"two=Two"});
  EXPECT_EQ(store.ReadText("one", kUrlKey, "gone"), "gone");
  EXPECT_EQ(store.ReadText("two", kUrlKey, ""), "http://2");
}

TEST_F(SettingsStoreTest, LoadFeedByAliasReadsNoScheduleAndNoNewsboxDefault) {
  WriteFileBytes(path, "[f]\nName=F\nURL=http://f\nAutoCheck=1\nIntervalMinutes=9\nNotifyNewsBoard=0\n");
  FeedSettings feed = store.LoadFeedByAlias("f");
  EXPECT_EQ(feed.name, "F");
  EXPECT_EQ(feed.newsbox, "");
  EXPECT_EQ(feed.autoCheck, 0);
  EXPECT_EQ(feed.intervalMinutes, 0);
  EXPECT_EQ(feed.notifyNewsBoard, 0);
}

TEST(AliasExists, ComparesAliasesWithoutRegardToCase) {
  std::vector<std::string> entries{"bare", "news=Daily", "other=x"};
  EXPECT_TRUE(AliasExists(entries, "NEWS"));
  EXPECT_FALSE(AliasExists(entries, "bare"));
  EXPECT_FALSE(AliasExists(entries, "new"));
  EXPECT_FALSE(AliasExists({}, "news"));
}

}  // namespace
}  // namespace tarnwick::store
