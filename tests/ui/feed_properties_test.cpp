// The Feed Properties logic over a real settings file, with feeds served on 127.0.0.1.
#include "ui/feed_properties.h"

#include "ui/feed_properties_texts.h"

#include "platform/message_box.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/file_size_limit.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

using test::FileSizeLimit;
using test::ReadFileBytes;
using test::WriteFileBytes;

const char kRss[] =
    "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Daily &amp; Nightly</title>"
    "<item><title>One</title></item></channel></rss>";
const char kAtom[] =
    "<feed xmlns=\"http://www.w3.org/2005/Atom\"><id>x</id><title>Atom Log</title>"
    "<entry><title>Entry</title></entry></feed>";
const char kUntitled[] = "<rss><channel><item><title>Only an item</title></item></channel></rss>";
const char kBroken[] = "<rss><channel><title>Broken</channel>";

class RecordingView : public FeedPropertiesView {
public:
  void EnableInputs(bool enabled) override { calls.push_back(enabled ? "enable" : "disable"); }
  void ShowInfo(const FeedInfo& info) override {
    calls.push_back("info");
    infos.push_back(info);
  }
  void ShowRefusal(const std::string& text) override {
    calls.push_back("refusal");
    refusals.push_back(text);
  }
  void ShowUrl(const std::string& url) override { urls.push_back(url); }
  std::optional<size_t> ChooseFeed(const std::vector<feed::FeedLink>& feeds) override {
    offered.push_back(feeds);
    return choice;
  }
  void ShowDownloading(bool) override {}
  std::vector<std::string> urls;
  std::vector<std::vector<feed::FeedLink>> offered;
  std::optional<size_t> choice;
  std::vector<std::string> calls;
  std::vector<FeedInfo> infos;
  std::vector<std::string> refusals;
};

class FeedPropertiesTest : public ::testing::Test {
protected:
  void SetUp() override {
    server_.AddEndpoint("/rss.xml", 200, kRss);
    server_.AddEndpoint("/atom.xml", 200, kAtom);
    server_.AddEndpoint("/untitled.xml", 200, kUntitled);
    server_.AddEndpoint("/broken.xml", 200, kBroken);
    WriteFileBytes(newsboxPath_, "");
    previousHandler_ = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&) { messageBoxes_.push_back(text); });
  }
  void TearDown() override { platform::SetMessageBoxHandler(previousHandler_); }

  store::FeedSettings Feed(const std::string& alias) const {
    store::FeedSettings feed;
    feed.alias = alias;
    feed.name = "Daily News";
    feed.url = server_.Url("/rss.xml");
    feed.newsbox = "Tech";
    feed.newsboxPath = newsboxPath_;
    feed.downloadReferringArticles = 1;
    feed.downloadOnlyNewArticles = 0;
    feed.autoCheck = 1;
    feed.intervalMinutes = 30;
    return feed;
  }
  std::string Section(const std::string& alias, const std::string& name, const std::string& lastArticle) const {
    return "[" + alias + "]\nName=" + name + "\nURL=" + server_.Url("/rss.xml") +
           "\nNewsbox=Tech\nNewsboxPath=" + newsboxPath_ +
           "\nDownloadReferringArticles=1\nDownloadOnlyNewArticles=0\nLastArticle=" + lastArticle +
           "\nAutoCheck=1\nIntervalMinutes=30\n";
  }

  test::TempDir dir_;
  test::HttpServer server_;
  std::string settingsPath_ = dir_.File("tarnwick.ini");
  std::string scratchPath_ = dir_.File("feed.xml");
  std::string newsboxPath_ = dir_.File("Tech.mbx");
  RecordingView view_;
  FeedProperties dialog_{{settingsPath_, scratchPath_, dir_.Path(), dir_.File("help"), "Tarnwick"}, view_};
  std::vector<std::string> messageBoxes_;
  platform::MessageBoxHandler previousHandler_;
};

TEST_F(FeedPropertiesTest, NewFeedStartsWithOnlyNewArticlesAndADisabledQuarterHour) {
  dialog_.OpenNew();
  EXPECT_EQ(dialog_.Mode(), FeedPropertiesMode::kNew);
  EXPECT_EQ(dialog_.Values().downloadReferringArticles, 0);
  EXPECT_EQ(dialog_.Values().downloadOnlyNewArticles, 1);
  EXPECT_EQ(dialog_.Values().autoCheck, 0);
  EXPECT_EQ(dialog_.Values().intervalMinutes, 15);
  EXPECT_FALSE(dialog_.IntervalEnabled());
  EXPECT_EQ(dialog_.StatusIcon(), 189);
  EXPECT_EQ(dialog_.NameLabel(), "");
  EXPECT_EQ(dialog_.NewsboxButtonText(), "[No newsbox selected]");
  EXPECT_EQ(dialog_.KeptLastArticle(), "");
}

TEST_F(FeedPropertiesTest, StatusIconFollowsTheThreeOptions) {
  dialog_.OpenNew();
  dialog_.ToggleDownloadOnlyNew();  // all three off
  std::vector<int> icons;
  for (int bits = 0; bits < 8; ++bits) {
    if (((bits >> 2) & 1) != dialog_.Values().downloadReferringArticles) dialog_.ToggleDownloadReferring();
    if (((bits >> 1) & 1) != dialog_.Values().downloadOnlyNewArticles) dialog_.ToggleDownloadOnlyNew();
    if ((bits & 1) != dialog_.Values().autoCheck) dialog_.ToggleAutoCheck();
    EXPECT_EQ(dialog_.IntervalEnabled(), (bits & 1) == 1);
    icons.push_back(dialog_.StatusIcon());
  }
  EXPECT_EQ(icons, (std::vector<int>{129, 190, 189, 191, 128, 187, 186, 188}));
}

TEST_F(FeedPropertiesTest, EditedFeedShowsItsNameCutToFortyCharactersAndItsNewsbox) {
  store::FeedSettings feed = Feed("news");
  feed.name = std::string(40, 'n');
  dialog_.OpenEdit(feed);
  EXPECT_EQ(dialog_.NameLabel(), " >> " + std::string(40, 'n') + " << ");
  feed.name += "X";
  dialog_.OpenEdit(feed);
  EXPECT_EQ(dialog_.NameLabel(), " >> " + std::string(40, 'n') + "... << ");
  EXPECT_EQ(dialog_.NewsboxButtonText(), "Tech");
  EXPECT_EQ(dialog_.StatusIcon(), 187);
  EXPECT_TRUE(dialog_.IntervalEnabled());
  EXPECT_EQ(dialog_.KeptLastArticle(), "1/1/1970 11:10:00") << "a feed never checked";

  feed.newsboxPath = dir_.File("Gone.mbx");
  dialog_.OpenEdit(feed);
  EXPECT_EQ(dialog_.NewsboxButtonText(), "[No newsbox selected]");
  dialog_.SetNewsbox(newsboxPath_, "Picked");
  EXPECT_EQ(dialog_.NewsboxButtonText(), "Picked");
}

TEST_F(FeedPropertiesTest, ReadFeedReadsRssAndAtomTitlesAndLeavesNoFile) {
  const auto titleOf = [this](const std::string& path) {
    const FeedLookup found = ReadFeed(server_.Url(path), scratchPath_);
    EXPECT_EQ(found.result, FeedLookupResult::kFeed) << path;
    return found.title;
  };
  EXPECT_EQ(titleOf("/rss.xml"), "Daily & Nightly");
  EXPECT_EQ(titleOf("/atom.xml"), "Atom Log");
  server_.AddEndpoint(
      "/latin.xml", 200,
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss><channel><title>Caf\xE9</title></channel></rss>");
  EXPECT_EQ(titleOf("/latin.xml"), "Caf\xC3\xA9") << "in the encoding the document declares";
  EXPECT_EQ(titleOf("/untitled.xml"), "") << "no title is no failure";
  EXPECT_FALSE(std::filesystem::exists(scratchPath_));
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(FeedPropertiesTest, ReadFeedTellsABrokenDocumentFromAFailedDownload) {
  EXPECT_EQ(ReadFeed(server_.Url("/broken.xml"), scratchPath_).result, FeedLookupResult::kNotAFeed);
  EXPECT_FALSE(std::filesystem::exists(scratchPath_));
  const FeedLookup missing = ReadFeed(server_.Url("/missing.xml"), scratchPath_);
  EXPECT_EQ(missing.result, FeedLookupResult::kNotDownloaded);
  EXPECT_NE(missing.failure.find("404"), std::string::npos) << missing.failure;
  EXPECT_TRUE(messageBoxes_.empty()) << "the caller tells the user, once";
}

TEST_F(FeedPropertiesTest, OkOnANewFeedWritesTheNineKeysWithAnEmptyLastArticle) {
  WriteFileBytes(settingsPath_, "[Aliases]\nother=Other\n[other]\nURL=http://other\n");
  dialog_.OpenNew();
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  dialog_.ToggleAutoCheck();
  EXPECT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "20"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(server_.HitCount("/rss.xml"), 1) << "the empty name is fetched";
  EXPECT_EQ(ReadFileBytes(settingsPath_),
            "[Aliases]\nother=Other\ndaily=Daily & Nightly\n[other]\nURL=http://other\n[daily]\n"
            "Name=Daily & Nightly\nURL=" +
                server_.Url("/rss.xml") + "\nNewsbox=Tech\nNewsboxPath=" + newsboxPath_ +
                "\nDownloadReferringArticles=0\nDownloadOnlyNewArticles=1\nLastArticle=\nAutoCheck=1\n"
                "IntervalMinutes=20\n");
  EXPECT_EQ(dialog_.Values().name, "Daily & Nightly");
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"disable", "enable"}));
}

TEST_F(FeedPropertiesTest, InvalidInputIsRefusedSilentlyAndWritesNothing) {
  dialog_.OpenNew();
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  using Result = FeedProperties::OkResult;
  EXPECT_EQ(dialog_.Ok("", server_.Url("/rss.xml"), "15"), Result::kRefused);
  EXPECT_EQ(dialog_.Ok("daily", "", "15"), Result::kRefused);
  EXPECT_EQ(server_.HitCount("/rss.xml"), 0) << "nothing is downloaded for empty input";
  EXPECT_EQ(dialog_.Ok("daily", server_.Url("/broken.xml"), "15"), Result::kRefused) << "no title to be had";
  for (const char* name : {"Pending", "OUT", "out"}) {
    dialog_.SetNewsbox(newsboxPath_, name);
    EXPECT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "15"), Result::kRefused) << name;
  }
  dialog_.SetNewsbox(dir_.File("Gone.mbx"), "Gone");
  EXPECT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "15"), Result::kRefused);
  EXPECT_EQ(server_.HitCount("/rss.xml"), 1) << "the title fetched once is not fetched again";
  EXPECT_FALSE(std::filesystem::exists(settingsPath_));
  EXPECT_TRUE(view_.calls.empty()) << "no message, no flicker of the controls";
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  EXPECT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "15"), Result::kSaved);
  EXPECT_EQ(server_.HitCount("/rss.xml"), 1);
}

TEST_F(FeedPropertiesTest, IntervalBelowOneSwitchesAutoCheckOff) {
  for (const char* interval : {"0", "", "abc", "99999999999"}) {
    std::filesystem::remove(settingsPath_);
    dialog_.OpenNew();
    dialog_.SetNewsbox(newsboxPath_, "Tech");
    dialog_.ToggleAutoCheck();
    ASSERT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), interval), FeedProperties::OkResult::kSaved);
    EXPECT_EQ(dialog_.Values().autoCheck, 0) << interval;
    const store::SettingsStore settings(settingsPath_);
    EXPECT_EQ(settings.ReadInt("daily", store::kAutoCheckKey, -1), 0) << interval;
    EXPECT_EQ(settings.ReadInt("daily", store::kIntervalMinutesKey, -1), 0) << interval;
  }
}

TEST_F(FeedPropertiesTest, TheFirstCheckLimitIsKeptUntilTheFeedHasBeenChecked) {
  const auto firstCheckKey = [this](const std::string& alias) {
    return store::SettingsStore(settingsPath_).ReadInt(alias, "FirstCheckArticles", -1);
  };
  dialog_.OpenNew();
  EXPECT_TRUE(dialog_.FirstCheckEnabled());
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  dialog_.SetFirstCheckArticles("5");
  ASSERT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "15"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(firstCheckKey("daily"), 5);

  dialog_.OpenEdit(dialog_.Values());
  EXPECT_EQ(dialog_.FirstCheckArticles(), 5) << "not checked yet: the limit shows and can change";
  dialog_.SetFirstCheckArticles("");
  ASSERT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "15"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(firstCheckKey("daily"), -1) << "empty: all, and no key";

  ASSERT_TRUE(store::SettingsStore(settingsPath_).WriteText("daily", "LastArticle", "5/1/2026 10:00:00"));
  dialog_.OpenEdit(dialog_.Values());
  EXPECT_FALSE(dialog_.FirstCheckEnabled());
  dialog_.SetFirstCheckArticles("9");
  ASSERT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "15"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(firstCheckKey("daily"), -1) << "a checked feed has had its first check";
}

TEST_F(FeedPropertiesTest, EditingWithoutChangesRebuildsTheSectionFromTheNineKeys) {
  WriteFileBytes(settingsPath_, "[Aliases]\nnews=Daily News\nother=Other\n" +
                                    Section("news", "Daily News", "5/1/2026 10:00:00") +
                                    "LastCheck=5/2/2026 9:00:00 AM\nNotifyNewsBoard=0\n[other]\nURL=http://other\n");
  dialog_.OpenEdit(Feed("news"));
  EXPECT_EQ(dialog_.KeptLastArticle(), "5/1/2026 10:00:00");
  EXPECT_EQ(dialog_.Ok("news", server_.Url("/rss.xml"), "30"), FeedProperties::OkResult::kSaved)
      << "the feed's own alias is no duplicate";
  EXPECT_EQ(server_.HitCount("/rss.xml"), 0) << "a named feed is not fetched";
  EXPECT_EQ(ReadFileBytes(settingsPath_), "[Aliases]\nnews=Daily News\nother=Other\n[other]\nURL=http://other\n" +
                                              Section("news", "Daily News", "5/1/2026 10:00:00"));
  EXPECT_EQ(dialog_.Values().notifyNewsBoard, 1);
}

TEST_F(FeedPropertiesTest, RenamedFeedMovesToItsNewAliasWithItsLastArticle) {
  WriteFileBytes(settingsPath_, "[Aliases]\nnews=Daily News\n" + Section("news", "Daily News", "5/1/2026 10:00:00"));
  dialog_.OpenEdit(Feed("news"));
  EXPECT_EQ(dialog_.Ok("daily", server_.Url("/rss.xml"), "30"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(ReadFileBytes(settingsPath_),
            "[Aliases]\ndaily=Daily News\n" + Section("daily", "Daily News", "5/1/2026 10:00:00"));

  dialog_.OpenEdit(dialog_.Values());
  EXPECT_EQ(dialog_.Ok("Daily", server_.Url("/rss.xml"), "30"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(ReadFileBytes(settingsPath_),
            "[Aliases]\nDaily=Daily News\n" + Section("Daily", "Daily News", "5/1/2026 10:00:00"))
      << "a change of letter case is kept";
}

TEST_F(FeedPropertiesTest, EditingOntoAnotherFeedsAliasIsADuplicateAndLeavesTheFileAsItWas) {
  const std::string before = "[Aliases]\nnews=Daily News\nTech=Tech Today\n" +
                             Section("news", "Daily News", "5/1/2026 10:00:00") + "[Tech]\nURL=http://tech\n";
  WriteFileBytes(settingsPath_, before);
  dialog_.OpenEdit(Feed("news"));
  EXPECT_EQ(ReadFileBytes(settingsPath_), before) << "the edited feed stays while the dialog is open";
  EXPECT_EQ(dialog_.Ok("tech", server_.Url("/rss.xml"), "30"), FeedProperties::OkResult::kDuplicate);
  EXPECT_EQ(ReadFileBytes(settingsPath_), before);
}

TEST_F(FeedPropertiesTest, AliasesTheFileCannotHoldAreRefusedWithAReason) {
  dialog_.OpenNew();
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  for (const char* alias : {"a=b", "Tech [beta]", "x]", ";news", " news", "news ", "two\tparts"}) {
    view_.refusals.clear();
    EXPECT_EQ(dialog_.Ok(alias, server_.Url("/rss.xml"), "15"), FeedProperties::OkResult::kNotStored) << alias;
    ASSERT_EQ(view_.refusals.size(), 1u) << alias;
    EXPECT_NE(view_.refusals[0].find("alias"), std::string::npos);
  }
  EXPECT_EQ(view_.calls.back(), "enable");
  EXPECT_FALSE(std::filesystem::exists(settingsPath_));
}

TEST_F(FeedPropertiesTest, ASettingsFileThatCannotBeWrittenIsReported) {
  FeedProperties dialog({dir_.File("missing/tarnwick.ini"), scratchPath_, dir_.Path(), "", "Tarnwick"}, view_);
  dialog.OpenNew();
  dialog.SetNewsbox(newsboxPath_, "Tech");
  EXPECT_EQ(dialog.Ok("daily", server_.Url("/rss.xml"), "15"), FeedProperties::OkResult::kNotStored);
  ASSERT_EQ(view_.refusals.size(), 1u);
  EXPECT_NE(view_.refusals[0].find(dir_.File("missing/tarnwick.ini")), std::string::npos);
}

TEST_F(FeedPropertiesTest, ADownloadThatFailsOnOkIsToldOnceWithItsReason) {
  dialog_.OpenNew();
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  EXPECT_EQ(dialog_.Ok("gone", server_.Url("/gone.xml"), "15"), FeedProperties::OkResult::kRefused);
  ASSERT_EQ(view_.refusals.size(), 1u);
  EXPECT_NE(view_.refusals[0].find("could not be downloaded"), std::string::npos) << view_.refusals[0];
  EXPECT_NE(view_.refusals[0].find(server_.Url("/gone.xml")), std::string::npos) << view_.refusals[0];
  EXPECT_NE(view_.refusals[0].find("404"), std::string::npos) << view_.refusals[0];
  EXPECT_TRUE(messageBoxes_.empty()) << "no second box with the downloader's own words";
  EXPECT_FALSE(std::filesystem::exists(settingsPath_));
}

TEST_F(FeedPropertiesTest, ASaveThatCannotBeWrittenWholeLeavesTheEditedFeedAsItWas) {
  if (!FileSizeLimit::Works()) GTEST_SKIP() << "this system cannot cap the size of a process's files";
  const std::string others = "[Aliases]\nnews=Daily News\nother=Other\n[other]\nURL=http://other\n";
  const std::string before = others + Section("news", "Daily News", "5/1/2026 10:00:00") + "LastCheck=5/2/2026\n";
  WriteFileBytes(settingsPath_, before);
  dialog_.OpenEdit(Feed("news"));
  FeedProperties::OkResult result{};
  {
    // Room for the other feeds and the start of a section, not for the whole feed.
    const FileSizeLimit limit(others.size() + 40);
    result = dialog_.Ok("news", server_.Url("/rss.xml"), "30");
  }
  EXPECT_EQ(result, FeedProperties::OkResult::kNotStored);
  EXPECT_EQ(view_.refusals.size(), 1u);
  EXPECT_EQ(ReadFileBytes(settingsPath_), before) << "the feed keeps its newsbox and every key";
}

// A web page with a <link rel="alternate"> element of that type and href for each pair.
std::string Page(const std::vector<std::pair<std::string, std::string>>& links) {
  std::string head;
  for (const auto& [type, href] : links) head += "<link rel=\"alternate\" type=\"" + type + "\" href=\"" + href + "\">";
  return "<!DOCTYPE html><html><head><title>A blog</title>" + head + "</head><body><p>Hello</body></html>";
}

TEST_F(FeedPropertiesTest, ValidateTakesTheOneFeedOfAPageResolvedWhereThePageCameFrom) {
  server_.AddEndpoint("/start", 302, "", {{"Location", server_.Url("/blog/a/index.html")}});
  server_.AddEndpoint("/blog/a/index.html", 200, Page({{"application/rss+xml", "../rss.xml"}}));
  server_.AddEndpoint("/blog/rss.xml", 200, kRss);
  dialog_.OpenNew();
  dialog_.Validate("daily", server_.Url("/start"));
  EXPECT_TRUE(view_.offered.empty());
  EXPECT_EQ(view_.urls, std::vector<std::string>{server_.Url("/blog/rss.xml")});
  EXPECT_EQ(dialog_.Values().name, "Daily & Nightly");
  ASSERT_EQ(view_.infos.size(), 1u);
  EXPECT_EQ(view_.infos[0].mode, FeedInfoMode::kValidFeed);
  EXPECT_EQ(view_.infos[0].url, server_.Url("/blog/rss.xml"));

  // A feed's own address is taken as it stands.
  dialog_.Validate("atom", server_.Url("/atom.xml"));
  EXPECT_EQ(view_.urls.size(), 1u);
  EXPECT_EQ(view_.infos.back().mode, FeedInfoMode::kValidFeed);
}

TEST_F(FeedPropertiesTest, ValidateLetsTheUserChooseAmongAPagesFeeds) {
  server_.AddEndpoint("/two.html", 200,
                      Page({{"application/rss+xml", "/rss.xml"}, {"application/atom+xml", server_.Url("/atom.xml")}}));
  dialog_.OpenNew();
  dialog_.Validate("two", server_.Url("/two.html"));  // declined: nothing taken, nothing said
  ASSERT_EQ(view_.offered.size(), 1u);
  EXPECT_EQ(view_.offered[0],
            (std::vector<feed::FeedLink>{{server_.Url("/rss.xml"), ""}, {server_.Url("/atom.xml"), ""}}));
  EXPECT_TRUE(view_.urls.empty() && view_.infos.empty());

  view_.choice = 1;
  dialog_.Validate("two", server_.Url("/two.html"));
  EXPECT_EQ(view_.urls, std::vector<std::string>{server_.Url("/atom.xml")});
  EXPECT_EQ(dialog_.Values().name, "Atom Log");
}

TEST_F(FeedPropertiesTest, PageWithoutFeedsIsRefusedWithAClearMessage) {
  server_.AddEndpoint("/plain.html", 200, Page({{"text/css", "s.css"}}));
  dialog_.OpenNew();
  dialog_.Validate("plain", server_.Url("/plain.html"));
  EXPECT_EQ(view_.refusals, std::vector<std::string>{kNoFeedOnPage + server_.Url("/plain.html")});
  EXPECT_TRUE(view_.infos.empty());
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  EXPECT_EQ(dialog_.Ok("plain", server_.Url("/plain.html"), "15"), FeedProperties::OkResult::kRefused);
  EXPECT_EQ(view_.refusals.size(), 2u);
}

TEST_F(FeedPropertiesTest, OkOnAPageSavesTheFeedItLinksTo) {
  server_.AddEndpoint("/home.html", 200, Page({{"application/atom+xml", "atom.xml"}}));
  dialog_.OpenNew();
  dialog_.SetNewsbox(newsboxPath_, "Tech");
  EXPECT_EQ(dialog_.Ok("home", server_.Url("/home.html"), "15"), FeedProperties::OkResult::kSaved);
  EXPECT_EQ(store::SettingsStore(settingsPath_).LoadFeedByAlias("home").url, server_.Url("/atom.xml"));
}

}  // namespace
}  // namespace tarnwick::ui
