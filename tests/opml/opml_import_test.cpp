// Importing OPML lists into a real settings file, with newsboxes made in a real data folder.
#include "opml/opml_import.h"
#include "platform/file_system.h"

#include "opml/feed_alias.h"
#include "opml/opml_writer.h"
#include "platform/ini_file.h"
#include "store/file_utilities.h"
#include "store/listed_feeds.h"
#include "store/settings_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::opml {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

std::string Opml(const std::string& body) {
  return "<?xml version=\"1.0\"?><opml version=\"2.0\"><head/><body>" + body + "</body></opml>";
}

std::string Outline(const std::string& text, const std::string& url) {
  return "<outline text=\"" + text + "\" type=\"rss\" xmlUrl=\"" + url + "\"/>";
}

class OpmlImportTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(platform::MakeFolder(data.File("plugins"))); }

  ImportReport Import(const std::string& document, NewsboxMaker* maker = nullptr) {
    WriteFileBytes(opmlPath, document);
    return ImportOpmlFile(opmlPath, settings, maker != nullptr ? *maker : newsboxes);
  }

  std::vector<std::string> Aliases() {
    std::vector<std::string> aliases;
    for (const store::FeedSettings& feed : store::ListedFeeds(settings)) aliases.push_back(feed.alias);
    return aliases;
  }

  store::FeedSettings ExistingFeed(const std::string& alias, const std::string& url, const std::string& name = "") {
    WriteFileBytes(data.File(alias + ".mbx"), "");
    store::FeedSettings feed{
        alias, name.empty() ? alias + " name" : name, url, alias, data.File(alias + ".mbx"), 1, 0, 1, 30, 1};
    EXPECT_TRUE(settings.WriteFeed(feed, "6/1/2003 10:00:00"));
    return feed;
  }

  test::TempDir data;
  std::string opmlPath = data.File("list.opml");
  store::SettingsStore settings{data.File("plugins/tarnwick.ini")};
  DataFolderNewsboxMaker newsboxes{data.Path()};
};

TEST_F(OpmlImportTest, FeedsGetTheOptionsOfANewFeedAndTheirFolderAsNewsbox) {
  const ImportReport report =
      Import(Opml("<outline text=\"Tech\">" + Outline("Kernel", "http://k.example/") +
                  "<outline text=\"Gadgets\" title=\"Gadget News\" xmlUrl=\"http://g.example/\"/>"
                  "</outline>" +
                  Outline("Weather", "http://w.example/")));
  ASSERT_TRUE(report.ok) << report.error;
  const std::string tech = data.File("Tech.mbx");
  const std::string weather = data.File("Weather.mbx");
  EXPECT_EQ(store::ListedFeeds(settings),
            (std::vector<store::FeedSettings>{
                {"Kernel", "Kernel", "http://k.example/", "Tech", tech, 0, 1, 0, 15, 1},
                {"Gadgets", "Gadget News", "http://g.example/", "Tech", tech, 0, 1, 0, 15, 1},
                {"Weather", "Weather", "http://w.example/", "Weather", weather, 0, 1, 0, 15, 1}}));
  EXPECT_EQ(settings.ReadText("Kernel", store::kLastArticleKey, "absent"), "");
  struct stat status {};
  EXPECT_EQ(stat(tech.c_str(), &status), 0);
  EXPECT_EQ(stat(weather.c_str(), &status), 0);
  EXPECT_EQ(report.Text(),
            "Added \"Kernel\" (http://k.example/), delivering into \"Tech\".\n"
            "Added \"Gadgets\" (http://g.example/), delivering into \"Tech\".\n"
            "Added \"Weather\" (http://w.example/), delivering into \"Weather\".\n"
            "3 feed(s) added, 0 skipped.");
}

TEST_F(OpmlImportTest, ExistingFeedsStayAsTheyAreAndTheirAddressesAreNotAddedAgain) {
  ExistingFeed("News", "http://n.example/");
  WriteFileBytes(data.File("News.mbx"), "From ???@??? Mon Jun 2 10:00:00 2003\r\nSubject: kept\r\n\r\nbody\r\n");
  ASSERT_TRUE(settings.WriteText("News", store::kLastCheckKey, "6/2/2003 10:00:00 AM"));
  const std::vector<std::string> sectionBefore = platform::IniFile(settings.Path()).ReadSection("News");

  const ImportReport report =
      Import(Opml(Outline("Renamed news", "http://n.example/") + Outline("news", "http://other.example/") +
                  Outline("Again", "http://other.example/")));
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(platform::IniFile(settings.Path()).ReadSection("News"), sectionBefore);
  EXPECT_EQ(Aliases(), (std::vector<std::string>{"News", "news (2)"}));
  // Its folder-less alias names the new feed's newsbox; the old newsbox keeps its message.
  EXPECT_EQ(store::ListedFeeds(settings)[1].newsbox, "news (2)");
  EXPECT_NE(ReadFileBytes(data.File("News.mbx")).find("Subject: kept"), std::string::npos);
  ASSERT_EQ(report.skipped.size(), 2u);
  EXPECT_EQ(report.skipped[0].reason, "the feed \"News\" has this address already");
  EXPECT_EQ(report.skipped[1].reason, "the feed \"news (2)\" has this address already");
}

TEST_F(OpmlImportTest, AliasesAreMadeStorableAndUnique) {
  const std::string longTitle(30, 'x');
  const std::string accented = "\xC3\xA9";  // two bytes
  const ImportReport report =
      Import(Opml(Outline("[Beta] a=b", "http://1.example/") + Outline(";; Commented", "http://2.example/") +
                  Outline("Dup", "http://3.example/") + Outline("dup", "http://4.example/") +
                  Outline("DUP", "http://5.example/") + Outline(longTitle + accented + longTitle, "http://6.example/") +
                  Outline(std::string(100, 'n'), "http://7.example/")));
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_TRUE(report.skipped.empty()) << report.Text();
  const std::vector<std::string> aliases = Aliases();
  ASSERT_EQ(aliases.size(), 7u);
  EXPECT_EQ(aliases[0], "(Beta) a-b");
  EXPECT_EQ(aliases[1], "Commented");
  EXPECT_EQ(aliases[2], "Dup");
  EXPECT_EQ(aliases[3], "dup (2)");
  EXPECT_EQ(aliases[4], "DUP (3)");
  // Cut to 60 bytes between characters: the accent, which would straddle the limit, goes whole.
  EXPECT_EQ(aliases[5], longTitle + accented + std::string(28, 'x'));
  EXPECT_EQ(aliases[6], std::string(kMaxImportedAliasBytes, 'n'));
  for (const store::FeedSettings& feed : store::ListedFeeds(settings)) {
    EXPECT_TRUE(store::CheckAliasStorable(feed.alias).storable) << feed.alias;
    // The name the list shows is the whole name that was stored.
    EXPECT_EQ(settings.ReadText(feed.alias, store::kNameKey, ""), feed.name) << feed.alias;
  }
  EXPECT_EQ(store::ListedFeeds(settings)[0].name, "[Beta] a=b");
  EXPECT_EQ(UniqueAlias(std::string(kMaxImportedAliasBytes, 'n'), {std::string(kMaxImportedAliasBytes, 'n') + "=x"}),
            std::string(kMaxImportedAliasBytes - 4, 'n') + " (2)");
}

TEST_F(OpmlImportTest, UnusableOutlinesAreSkippedWithTheirReasons) {
  const ImportReport report = Import(
      Opml("<outline text=\"Page\" type=\"link\" url=\"http://p.example/\"/>" +
           Outline("Blank", "http://b.example/a b") + Outline("Long", "http://l.example/" + std::string(240, 'l')) +
           Outline(" ; ;&#9; ", "feed.xml") + "<outline text=\"Out\">" + Outline("Sent", "http://o.example/") +
           "</outline>" + "<outline text=\"pending\">" + Outline("Staged", "http://s.example/") + "</outline>"));
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_TRUE(report.added.empty());
  std::vector<std::string> reasons;
  for (const SkippedEntry& skipped : report.skipped) reasons.push_back(skipped.reason);
  EXPECT_EQ(reasons, (std::vector<std::string>{
                         "it has no feed address (xmlUrl)", "its feed address holds blanks or control characters",
                         "its feed address is longer than 254 characters", "it has no title to name the feed by",
                         "the mailbox \"Out\" cannot receive a feed's articles",
                         "the mailbox \"pending\" cannot receive a feed's articles"}));
  EXPECT_TRUE(Aliases().empty());
  EXPECT_EQ(ReadFileBytes(settings.Path()), "");
  EXPECT_NE(report.Text().find("Skipped \"Page\": it has no feed address (xmlUrl).\n"), std::string::npos);
}

TEST_F(OpmlImportTest, NamesThatCleanUpToNothingFallBackAndEveryAddedFeedIsListed) {
  const ImportReport report =
      Import(Opml("<outline title=\"\x86\x86\x86\" text=\"T\" xmlUrl=\"http://invalid.example/\"/>"  // not UTF-8
                  "<outline title=\" &#9;&#10; \" xmlUrl=\"https://user@Blank.example:8080/feed\"/>" +
                  Outline("Caf\xE9", "http://latin.example/")));
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_TRUE(report.skipped.empty()) << report.Text();
  const std::vector<store::FeedSettings> listed = store::ListedFeeds(settings);
  ASSERT_EQ(listed.size(), report.added.size()) << report.Text();
  for (size_t i = 0; i < listed.size(); ++i) EXPECT_EQ(listed[i], report.added[i]);
  ASSERT_EQ(listed.size(), 3u);
  // Invalid bytes are replaced, never dropped whole; a title of blanks leaves the host to name it.
  EXPECT_EQ(listed[0].alias, "T");
  EXPECT_EQ(listed[0].name, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(listed[1].alias, "Blank.example");
  EXPECT_EQ(listed[1].name, "Blank.example");
  EXPECT_EQ(listed[2].alias, "Caf\xEF\xBF\xBD");
}

TEST_F(OpmlImportTest, LongFolderAndTitleNamesAreCutToWhatTheSettingsFileReadsBack) {
  const std::string cjk = "\xE6\x96\xB0";  // three bytes
  std::string cjkFolder;
  for (int i = 0; i < 80; ++i) cjkFolder += cjk;
  const ImportReport report =
      Import(Opml("<outline text=\"" + std::string(230, 'A') + "\">" + Outline("Long", "http://a.example/") +
                  "</outline><outline text=\"" + cjkFolder + "\">" + "<outline text=\"Wide\" title=\"" + cjkFolder +
                  "\" xmlUrl=\"http://c.example/\"/></outline>" + Outline("Short", "http://s.example/")));
  ASSERT_TRUE(report.ok) << report.error;
  ASSERT_EQ(report.added.size(), 3u) << report.Text();
  EXPECT_EQ(store::ListedFeeds(settings), report.added);
  for (const store::FeedSettings& feed : report.added) {
    EXPECT_LE(feed.newsboxPath.size(), store::SettingsStore::kMaxTextLength) << feed.newsboxPath;
    EXPECT_EQ(settings.ReadText(feed.alias, store::kNewsboxPathKey, ""), feed.newsboxPath);
    EXPECT_TRUE(store::FileExists(feed.newsboxPath)) << feed.newsboxPath;
  }
  const size_t room = store::SettingsStore::kMaxTextLength - data.Path().size() - 5;  // "/" and ".mbx"
  EXPECT_EQ(report.added[0].newsbox, std::string(room, 'A'));
  // CJK characters are cut whole, in the newsbox and in the name of the "Aliases" line.
  EXPECT_EQ(report.added[1].newsbox.size() % 3, 0u);
  EXPECT_EQ(cjkFolder.rfind(report.added[1].newsbox, 0), 0u);
  EXPECT_EQ(report.added[1].name, cjkFolder.substr(0, (store::SettingsStore::kMaxEntryLength - 5) / 3 * 3));
  EXPECT_EQ(report.added[2].newsbox, "Short");
  EXPECT_EQ(report.Text(), "Added \"Long\" (http://a.example/), delivering into \"" + report.added[0].newsbox +
                               "\" (its name cut to fit the settings file).\n"
                               "Added \"Wide\" (http://c.example/), delivering into \"" +
                               report.added[1].newsbox +
                               "\" (its name cut to fit the settings file).\n"
                               "Added \"Short\" (http://s.example/), delivering into \"Short\".\n"
                               "3 feed(s) added, 0 skipped.");
}

TEST_F(OpmlImportTest, FeedsBeyondAnyFixedListSizeAreAddedAndThoseThatGetNoMailboxAreTakenOutAgain) {
  // 21 lines of 94 bytes already fill 2,048 bytes of "Aliases"; both new feeds are still listed.
  for (int i = 0; i < 21; ++i) {
    ExistingFeed("Feed number " + std::to_string(100 + i), "http://x.example/" + std::to_string(i),
                 std::string(78, 'n'));
  }
  const std::string longTitle = "Beyond the list, with a long title";
  const ImportReport report =
      Import(Opml(Outline("Fits", "http://fits.example/") + Outline(longTitle, "http://beyond.example/")));
  ASSERT_TRUE(report.ok);
  ASSERT_EQ(report.added.size(), 2u) << report.Text();
  EXPECT_EQ(settings.ReadText(longTitle, store::kUrlKey, "absent"), "http://beyond.example/");
  EXPECT_EQ(Aliases().size(), 23u);

  DataFolderNewsboxMaker nowhere(data.File("missing-folder"));
  const ImportReport unmade = Import(Opml(Outline("Homeless", "http://h.example/")), &nowhere);
  ASSERT_EQ(unmade.skipped.size(), 1u);
  EXPECT_EQ(unmade.skipped[0].reason, "the mailbox \"Homeless\" for its articles cannot be made");
  EXPECT_EQ(settings.ReadText("Homeless", store::kUrlKey, "absent"), "absent");
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  EXPECT_FALSE(store::AliasExists(entries, "Homeless"));
}

TEST_F(OpmlImportTest, ExportThenImportIntoAnEmptySettingsFileGivesTheSameFeeds) {
  const std::vector<store::FeedSettings> feeds = {
      {"Tom & Jerry", "Cartoons <\"classic\">", "http://t.example/?a=1&b=2", "Fun", data.File("Fun.mbx"), 0, 1, 0, 15,
       1},
      {"Caf\xC3\xA9 (Paris)", "Caf\xC3\xA9 news", "http://c.example/", "Fun", data.File("Fun.mbx"), 0, 1, 0, 15, 1},
      {"Solo", "Solo", "http://s.example/feed", "Solo", data.File("Solo.mbx"), 0, 1, 0, 15, 1},
      {"Elsewhere", "Elsewhere", "http://e.example/", "Weekly Digest", data.File("Weekly Digest.mbx"), 0, 1, 0, 15, 1}};
  for (const store::FeedSettings& feed : feeds) {
    WriteFileBytes(feed.newsboxPath, "");
    ASSERT_TRUE(settings.WriteFeed(feed, ""));
  }
  ASSERT_EQ(ExportOpmlFile(settings, opmlPath), "");

  const store::SettingsStore fresh(data.File("plugins/fresh.ini"));
  const ImportReport report = ImportOpmlFile(opmlPath, fresh, newsboxes);
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_TRUE(report.skipped.empty()) << report.Text();
  EXPECT_EQ(store::ListedFeeds(fresh), feeds);
}

}  // namespace
}  // namespace tarnwick::opml
