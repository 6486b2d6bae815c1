// Checks feeds the way a user does from the command line: tarnwick-host loads the module from
// the data folder's plug-ins folder and runs the check; the newsboxes are then read from disk.
#include "store/feed_settings.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/module_install.h"
#include "support/scoped_time_zone.h"
#include "support/shell_command.h"
#include "support/temp_dir.h"

#include "platform/date_format.h"
#include "platform/dynamic_library.h"
#include "platform/file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <thread>

namespace tarnwick {
namespace {

using test::Quote;
using test::RunCommand;

using test::ReadFileBytes;

std::string RssItem(const std::string& id, const std::string& title, const std::string& date) {
  return "<item><title>" + title + "</title><link>http://example.org/" + id + "</link><guid>" + id +
         "</guid><pubDate>" + date + "</pubDate><description><![CDATA[<p>" + title + "</p>]]></description></item>";
}

// An RFC 822 date `minutes` after a fixed moment, so that every item of a long feed has its own.
std::string DateAfter(int minutes) {
  const double start = platform::DateTime::FromParts(2026, 11, 30, 9, 0, 0).Days();
  return platform::FormatDate(platform::DateTime::FromDays(start + minutes / (24.0 * 60)), "%a, %d %b %Y %H:%M:%S GMT");
}

std::string Rss(const std::string& items) {
  return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>T</title>" + items + "</channel></rss>";
}

class EndToEnd : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, plugins + "/" + platform::ModuleFileName("tarnwick"));
    AddFeed("news", "News",
            Rss(RssItem("n1", "First news", "Mon, 30 Nov 2026 09:00:00 GMT") +
                RssItem("n2", "Second news", "Tue, 01 Dec 2026 09:00:00 GMT")));
    AddFeed("planet", "Planet",
            "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\">"
            "<channel><title>P</title></channel><item><title>Alpha</title><link>http://example.org/alpha</link>"
            "<description>a</description></item></rdf:RDF>");
    AddFeed("weekly", "Weekly",
            "<feed xmlns=\"http://www.w3.org/2005/Atom\"><id>urn:w</id><title>W</title><entry><id>urn:w1</id>"
            "<title>Week one</title><link href=\"http://example.org/w1\"/><issued>2026-11-28T12:00:00Z</issued>"
            "<author><name>Ada</name><email>ada@example.org</email></author><content>c</content></entry></feed>");
    AddFeed("old", "Old",
            "<feed version=\"0.3\"><id>tag:old</id><entry><id>tag:old1</id><title>Old one</title>"
            "<issued>2003-12-13T18:30:02Z</issued></entry></feed>");
    AddFeed("broken", "Broken", "<rss><channel><item><title>cut off");
  }

  void AddFeed(const std::string& alias, const std::string& newsbox, const std::string& document) {
    Serve(alias, document);
    test::WriteFileBytes(data + "/" + newsbox + ".mbx", "");
    store::FeedSettings feed{
        alias, alias + " feed", server.Url("/" + alias + ".xml"), newsbox, data + "/" + newsbox + ".mbx", 0, 1, 0, 0,
        1};
    settings.WriteFeed(feed, "");
  }
  void Serve(const std::string& alias, const std::string& document) {
    server.AddEndpoint("/" + alias + ".xml", 200, document);
  }
  // Runs the host, in `workFolder` when one is given.
  int Host(const std::string& arguments, std::string& output, const std::string& workFolder = "") {
    std::string command = Quote(TARNWICK_HOST_FILE) + " --data-folder " + Quote(data) + " " + arguments;
    return RunCommand(workFolder.empty() ? command : "cd " + Quote(workFolder) + " && " + command, output);
  }
  std::string Newsbox(const std::string& name) { return ReadFileBytes(data + "/" + name + ".mbx"); }
  int CountMessages(const std::string& name) {
    std::string text = Newsbox(name);
    int count = 0;
    for (size_t at = text.find("From ???@??? "); at != std::string::npos; at = text.find("\r\nFrom ???@??? ", at + 1)) {
      ++count;
    }
    return count;
  }

  test::TempDir dir;
  std::string data = dir.Path();
  std::string plugins = dir.File("plugins");
  store::SettingsStore settings{plugins + "/tarnwick.ini"};
  test::HttpServer server;
};

TEST_F(EndToEnd, CheckDeliversOnceAndThenOnlyWhatIsNew) {
  std::string output;
  EXPECT_EQ(Host("check", output), 1) << output;  // the broken feed fails, the others go on
  EXPECT_NE(output.find("broken: not checked: the feed document is not well-formed XML"), std::string::npos) << output;
  EXPECT_NE(output.find("Feeds: 5, new articles: 5"), std::string::npos) << output;
  EXPECT_EQ(CountMessages("News"), 2);
  EXPECT_EQ(CountMessages("Planet"), 1);
  EXPECT_EQ(CountMessages("Weekly"), 1);
  EXPECT_EQ(CountMessages("Old"), 1);
  EXPECT_EQ(CountMessages("Broken"), 0);

  // The message as it lies in the newsbox file: the second item was moved first.
  std::regex message(
      "From \\?\\?\\?@\\?\\?\\? (Sun|Mon|Tue|Wed|Thu|Fri|Sat) [A-Z][a-z]{2} \\d{1,2} \\d\\d:\\d\\d:\\d\\d \\d{4}\r\n"
      "Subject: Second news\r\nFrom: news feed\r\nDate: Tue, 01 Dec 2026 09:00:00 GMT\r\n"
      "Website: http://example.org/n2\r\nMessage-Id: <n2@tarnwick.invalid>\r\n"
      "Downloaded: [A-Z][a-z]{2}, \\d{1,2} [A-Z][a-z]{2} \\d{4} \\d\\d:\\d\\d:\\d\\d\r\n"
      "Tarnwick-Plugin-Version: 1.0\r\nFeed: news feed\r\nMIME-Version: 1.0\r\nContent-Type: text/html; "
      "charset=utf-8\r\n"
      "Content-Transfer-Encoding: 8bit\r\n\r\n<x-html><p>Second news</p></x-html>\r\n"
      "From \\?\\?\\?@\\?\\?\\? [^\r]*\r\nSubject: First news\r\n[^]*");
  EXPECT_TRUE(std::regex_match(Newsbox("News"), message)) << Newsbox("News");
  EXPECT_NE(Newsbox("Weekly").find("From: Ada <ada@example.org>\r\nDate: Sat, 28 Nov 2026 12:00:00 +0000\r\n"),
            std::string::npos);
  EXPECT_EQ(settings.ReadText("news", store::kLastArticleKey, ""), "12/01/2026 09:00:00");
  EXPECT_EQ(settings.ReadText("old", store::kLastArticleKey, ""), "12/13/2003 18:30:00");
  EXPECT_EQ(settings.ReadText("broken", store::kLastArticleKey, "absent"), "");

  EXPECT_EQ(Host("check news planet weekly old", output), 0) << output;
  EXPECT_NE(output.find("Feeds: 4, new articles: 0"), std::string::npos) << output;
  // Nothing new, and the report says what became of the items.
  EXPECT_NE(output.find("  news: 0 new articles; skipped: 2 items not newer than the last article\n"),
            std::string::npos)
      << output;
  EXPECT_EQ(CountMessages("News"), 2);

  Serve("news", Rss(RssItem("n1", "First news", "Mon, 30 Nov 2026 09:00:00 GMT") +
                    RssItem("n2", "Second news", "Tue, 01 Dec 2026 09:00:00 GMT") +
                    RssItem("n3", "Third news", "Wed, 02 Dec 2026 09:00:00 GMT") +
                    RssItem("n4", "Fourth news", "Thu, 03 Dec 2026 09:00:00 GMT")));
  EXPECT_EQ(Host("check news", output), 0) << output;
  EXPECT_NE(output.find("news: 2 new articles"), std::string::npos) << output;
  EXPECT_EQ(CountMessages("News"), 4);
  EXPECT_EQ(settings.ReadText("news", store::kLastArticleKey, ""), "12/03/2026 09:00:00");
}

TEST_F(EndToEnd, FullArticlesDeclaringAWideCharsetOnByteWideTextAreReadAsUtf8) {
  // The page says UTF-16 but is sent as UTF-8: the declaration could only be read because the
  // bytes are 8-bit, so the page is read as UTF-8, and its stray byte becomes U+FFFD.
  server.AddEndpoint("/page.html", 200,
                     "<html><head><meta charset=\"utf-16\"><title>x</title></head>"
                     "<body><p>Hello caf\xC3\xA9 world \xFF!</p></body></html>");
  Serve("news", Rss("<item><title>Paged</title><link>" + server.Url("/page.html") +
                    "</link><guid>p1</guid><pubDate>Mon, 30 Nov 2026 09:00:00 GMT</pubDate></item>"));
  settings.WriteInt("news", store::kDownloadReferringArticlesKey, 1);
  std::string output;
  EXPECT_EQ(Host("check news", output), 0) << output;
  const std::string newsbox = Newsbox("News");
  const size_t begin = newsbox.find("--- Begin Full Article ---");
  const size_t end = newsbox.find("---- End Full Article ----");
  ASSERT_TRUE(begin != std::string::npos && end != std::string::npos) << newsbox;
  EXPECT_NE(newsbox.substr(begin, end - begin).find("<p>Hello caf\xC3\xA9 world \xEF\xBF\xBD!</p>"), std::string::npos)
      << newsbox;
}

TEST_F(EndToEnd, ArticlesWaitWhileTheHostRefusesAutomationAndArriveLater) {
  // No "Pending" yet, and the host refuses to add it: its answer "-1" is no file to stage in (a
  // file of that name in the working folder stays as it was), and nothing counts as delivered.
  std::string work = dir.File("work");
  std::filesystem::create_directory(work);
  test::WriteFileBytes(work + "/-1", "");
  std::string output;
  EXPECT_EQ(Host("--no-automation check news", output, work), 1) << output;
  EXPECT_NE(output.find("news: 0 new articles (the mail client gave no \"Pending\" mailbox"), std::string::npos)
      << output;
  EXPECT_EQ(ReadFileBytes(work + "/-1"), "");
  EXPECT_EQ(settings.ReadText("news", store::kLastArticleKey, "absent"), "");

  // With "Pending" there the articles wait in it, and the report says how many.
  test::WriteFileBytes(data + "/Pending.mbx", "");
  EXPECT_EQ(Host("--no-automation check news", output), 1) << output;
  EXPECT_NE(output.find("news: 0 new articles, 2 left in \"Pending\" (the mail client could not take the articles"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("Feeds: 1, new articles: 0, 2 left in \"Pending\""), std::string::npos) << output;
  EXPECT_EQ(CountMessages("Pending"), 2);
  EXPECT_EQ(CountMessages("News"), 0);
  EXPECT_EQ(settings.ReadText("news", store::kLastArticleKey, "absent"), "");

  EXPECT_EQ(Host("check news", output), 0) << output;
  EXPECT_EQ(CountMessages("News"), 2);
}

TEST_F(EndToEnd, StandardMboxReaderSeesEverySubjectAndMessageId) {
  const std::string python = TARNWICK_PYTHON3;
  if (python.empty()) GTEST_SKIP() << "the Windows build has no Python to read the mailboxes with";
  ASSERT_FALSE(python.ends_with("NOTFOUND")) << "python3 was not found when the tests were built";
  Serve("news", Rss(RssItem("n1", "First news", "Mon, 30 Nov 2026 09:00:00 GMT") +
                    "<item><title>Tricky</title><guid>t1</guid><description>line one\n"
                    "From ???@??? Mon Dec 7 07:03:15 2026\nSubject: forged</description></item>"));
  std::string output;
  Host("check news", output);
  test::WriteFileBytes(dir.File("read.py"),
                       "import mailbox, sys\n"
                       "for m in mailbox.mbox(sys.argv[1], create=False):\n"
                       "    print(m['Subject'], m['Message-Id'], sep='|')\n");
  EXPECT_EQ(RunCommand(Quote(python) + " " + Quote(dir.File("read.py")) + " " + Quote(data + "/News.mbx"), output), 0);
  EXPECT_EQ(output, "Tricky|<t1@tarnwick.invalid>\nFirst news|<n1@tarnwick.invalid>\n");
}

TEST_F(EndToEnd, TickFetchesDueFeedsIntoTheCacheAndDeliversThem) {
  settings.WriteInt("news", store::kAutoCheckKey, 1);
  settings.WriteInt("news", store::kIntervalMinutesKey, 15);
  settings.WriteText("news", store::kLastCheckKey, "1/1/2020 9:00:00 AM");
  settings.WriteInt("planet", store::kAutoCheckKey, 1);  // no interval and no time: never due
  std::string output;
  EXPECT_EQ(Host("tick", output), 0) << output;
  EXPECT_NE(output.find("Background check: 1 feed fetched into the cache."), std::string::npos) << output;
  EXPECT_NE(output.find("news: 2 new articles"), std::string::npos) << output;
  EXPECT_EQ(CountMessages("News"), 2);
  EXPECT_EQ(CountMessages("Planet"), 0);
  EXPECT_FALSE(std::filesystem::exists(data + "/Feeds/news.rss"));
  EXPECT_NE(settings.ReadText("news", store::kLastCheckKey, ""), "1/1/2020 9:00:00 AM");
  EXPECT_EQ(server.HitCount("/planet.xml"), 0);

  // Not due again for 15 minutes: the next tick fetches nothing.
  EXPECT_EQ(Host("tick", output), 0) << output;
  EXPECT_NE(output.find("Background check: 0 feeds fetched into the cache."), std::string::npos) << output;
  EXPECT_EQ(server.HitCount("/news.xml"), 1);
}

TEST_F(EndToEnd, CheckAndTickReportWhatTheServersAskedFor) {
  server.AddEndpoint("/news.xml", 301, "", {{"Location", server.Url("/news-new.xml")}});
  Serve("news-new", Rss(RssItem("n1", "First news", "Mon, 30 Nov 2026 09:00:00 GMT")));
  server.AddEndpoint("/planet.xml", 429, "", {{"Retry-After", "3600"}});
  server.AddEndpoint("/weekly.xml", 410, "");
  std::string output;
  EXPECT_EQ(Host("check news planet weekly", output), 1) << output;
  const std::string moved = "the feed has moved for good to " + server.Url("/news-new.xml") + "; update its URL";
  EXPECT_NE(output.find("news: 1 new article; " + moved), std::string::npos) << output;
  EXPECT_NE(output.find("planet: not checked: the server asked to wait until "), std::string::npos) << output;
  EXPECT_NE(output.find("weekly: not checked: the feed is gone"), std::string::npos) << output;

  // Background fetching leaves the feed that is gone alone, and says so.
  settings.WriteInt("weekly", store::kAutoCheckKey, 1);
  settings.WriteInt("weekly", store::kIntervalMinutesKey, 15);
  settings.WriteText("weekly", store::kLastCheckKey, "1/1/2020 9:00:00 AM");
  EXPECT_EQ(Host("tick", output), 0) << output;
  EXPECT_NE(output.find("weekly: not fetched in the background: the feed is gone"), std::string::npos) << output;
  EXPECT_EQ(server.HitCount("/weekly.xml"), 1);
}

TEST_F(EndToEnd, AddCutsALongNewsboxAndTitleToWhatTheSettingsFileReadsBack) {
  Serve("long", "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>" + std::string(150, 'T') +
                    "</title></channel></rss>");
  std::string output;
  EXPECT_EQ(Host("add long " + server.Url("/long.xml") + " --newsbox " + std::string(300, 'N'), output), 0) << output;
  EXPECT_NE(output.find("Its name was cut to fit the settings file."), std::string::npos) << output;
  const store::FeedSettings feed = settings.LoadFeedByAlias("long");
  EXPECT_EQ(feed.name, std::string(store::SettingsStore::kMaxEntryLength - 5, 'T'));  // "long=" and the name
  EXPECT_EQ(feed.newsboxPath, data + "/" + feed.newsbox + ".mbx");
  EXPECT_EQ(feed.newsboxPath.size(), store::SettingsStore::kMaxTextLength);
  EXPECT_TRUE(std::filesystem::exists(feed.newsboxPath)) << feed.newsboxPath;
}

TEST_F(EndToEnd, AddWithFirstDeliversOnlyTheNewestItemsOnTheFirstCheck) {
  std::string items;
  for (int day = 1; day <= 50; ++day) {  // oldest first, one a day from 1 January 2026
    const std::string date = std::to_string(day <= 31 ? day : day - 31) + (day <= 31 ? " Jan" : " Feb") + " 2026";
    items += RssItem("f" + std::to_string(day), "Day " + std::to_string(day), date + " 10:00:00 GMT");
  }
  Serve("flood", Rss(items));
  std::string output;
  EXPECT_EQ(Host("add flood " + server.Url("/flood.xml") + " Flood --first 0", output), 2) << output;
  EXPECT_EQ(Host("add flood " + server.Url("/flood.xml") + " Flood --last 5", output), 2) << output;
  EXPECT_EQ(Host("add news " + server.Url("/flood.xml") + " Flood", output), 1) << output;
  EXPECT_NE(output.find("\"news\" is already the alias of a feed."), std::string::npos) << output;

  EXPECT_EQ(Host("add flood " + server.Url("/flood.xml") + " Flood --first 5", output), 0) << output;
  EXPECT_NE(output.find("Feed \"flood\" added, delivering into \"Flood\". Its first check delivers its 5 newest"),
            std::string::npos)
      << output;
  EXPECT_EQ(Host("check flood", output), 0) << output;
  EXPECT_NE(output.find("flood: 5 new articles; skipped: 45 items left out by the first check's limit"),
            std::string::npos)
      << output;
  EXPECT_EQ(CountMessages("Flood"), 5);
  EXPECT_NE(Newsbox("Flood").find("Subject: Day 50\r\n"), std::string::npos);
  EXPECT_NE(Newsbox("Flood").find("Subject: Day 46\r\n"), std::string::npos);
  EXPECT_EQ(Newsbox("Flood").find("Subject: Day 45\r\n"), std::string::npos);

  EXPECT_EQ(Host("check flood", output), 0) << output;
  EXPECT_NE(output.find("flood: 0 new articles; skipped: 50 items not newer than the last article"), std::string::npos)
      << output;
}

// A check started from a timer while another runs on the same data folder: the second waits for
// the first, so every item of a long feed arrives once, none is lost from "Pending" on the way.
TEST_F(EndToEnd, TwoChecksAtOnceDeliverEveryItemExactlyOnce) {
  constexpr int kItems = 5000;
  std::string items;
  for (int i = 0; i < kItems; ++i) {
    items += RssItem("big" + std::to_string(i), "Item " + std::to_string(i), DateAfter(i));
  }
  AddFeed("big", "Big", Rss(items));
  std::string firstOutput, secondOutput;
  int first = -1;
  std::thread other([&] { first = Host("check big", firstOutput); });
  int second = Host("check big", secondOutput);
  other.join();
  EXPECT_EQ(first, 0) << firstOutput;
  EXPECT_EQ(second, 0) << secondOutput;
  EXPECT_NE((firstOutput + secondOutput).find("is in use by another tarnwick-host"), std::string::npos)
      << "the two checks did not overlap";

  EXPECT_EQ(CountMessages("Big"), kItems);
  std::map<std::string, int> seen;
  const std::string text = Newsbox("Big");
  const std::string idPrefix = "\r\nMessage-Id: <";
  for (size_t at = text.find(idPrefix); at != std::string::npos; at = text.find(idPrefix, at + 1)) {
    size_t start = at + idPrefix.size();
    ++seen[text.substr(start, text.find('>', start) - start)];
  }
  int missing = 0, duplicated = 0;
  for (int i = 0; i < kItems; ++i) {
    int count = seen["big" + std::to_string(i) + "@tarnwick.invalid"];
    missing += count == 0;
    duplicated += count > 1;
  }
  EXPECT_EQ(seen.size(), size_t{kItems});
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(duplicated, 0);
}

// A check that finds the data folder held by another host for longer than it may wait leaves
// without checking anything; once the folder is free the same check delivers.
TEST_F(EndToEnd, CheckGivesUpClearlyWhenAnotherHostKeepsTheDataFolder) {
  platform::File held = platform::File::Open(data + "/.tarnwick-host.lock", platform::FileAccess::kReadWrite,
                                             platform::FileCreation::kCreate);
  ASSERT_EQ(held.TryLock(), platform::LockResult::kLocked);
  std::string output;
  EXPECT_EQ(Host("--lock-wait 1 check news", output), 3) << output;
  EXPECT_NE(output.find("tarnwick-host: the data folder " + data +
                        " is still in use by another tarnwick-host after 1 seconds; giving up, nothing was done"),
            std::string::npos)
      << output;
  EXPECT_EQ(server.HitCount("/news.xml"), 0);
  EXPECT_EQ(CountMessages("News"), 0);
  EXPECT_FALSE(std::filesystem::exists(data + "/Pending.mbx"));

  held.Close();
  EXPECT_EQ(Host("--lock-wait 1 check news", output), 0) << output;
  EXPECT_EQ(CountMessages("News"), 2);
}

TEST_F(EndToEnd, PluginsVerbListsTheModuleAndSkipsBrokenOnes) {
  test::WriteFileBytes(plugins + "/notes" + platform::ModuleFileExtension(), "not a module");
  std::string output;
  EXPECT_EQ(Host("plugins", output), 0) << output;
  EXPECT_NE(output.find("description: Tarnwick, Version: 1.0"), std::string::npos) << output;
  EXPECT_NE(output.find("Special menu: Tarnwick..."), std::string::npos) << output;
  EXPECT_NE(output.find("translator: Get the Full Article"), std::string::npos) << output;
  EXPECT_NE(output.find("notes" + std::string(platform::ModuleFileExtension()) + ": not a loadable plug-in"),
            std::string::npos)
      << output;
}

#if !defined(_WIN32)
// A check from the command line makes no windows, so it loads none: with the module installed
// whole (its windows' library beside it), the loader's own log of the run names the module and
// neither that library, nor the host's windows, nor the toolkit and the web engine under them.
TEST_F(EndToEnd, ACheckFromTheCommandLineLoadsNoWindowLibraries) {
  test::InstallModule(TARNWICK_MODULE_FILE, plugins);
  const std::string log = dir.File("loader");
  std::string output;
  const std::string command = "LD_DEBUG=files LD_DEBUG_OUTPUT=" + Quote(log) + " " + Quote(TARNWICK_HOST_FILE) +
                              " --data-folder " + Quote(data) + " check news";
  EXPECT_EQ(RunCommand(command, output), 0) << output;
  EXPECT_EQ(CountMessages("News"), 2);
  std::string loaded;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    if (entry.path().filename().string().starts_with("loader.")) loaded += ReadFileBytes(entry.path().string());
  }
  EXPECT_NE(loaded.find("/plugins/libtarnwick.so"), std::string::npos) << loaded;
  for (const char* windows : {"libtarnwick-windows", "libtarnwick-host-windows", "libwx_", "libwebkit2gtk"}) {
    EXPECT_EQ(loaded.find(windows), std::string::npos) << windows;
  }
}
#endif

// Feeds as the web serves them (tests/data/wild): in UTF-16, Latin-1 and windows-1252, with
// references beyond U+FFFF, dates in other zones and shapes, and Atom 1.0 entries. The host runs
// at UTC, so "LastArticle" shows each newest date moved to UTC.
class WildFeeds : public EndToEnd {
protected:
  void AddWildFeed(const std::string& alias, const std::string& file, int onlyNew = 1) {
    const std::string document = ReadFileBytes(std::string(TARNWICK_WILD_FEEDS) + "/" + file);
    ASSERT_FALSE(document.empty()) << file;
    Serve(alias, document);
    test::WriteFileBytes(data + "/" + alias + ".mbx", "");
    settings.WriteFeed(
        {alias, alias, server.Url("/" + alias + ".xml"), alias, data + "/" + alias + ".mbx", 0, onlyNew, 0, 0, 1}, "");
  }
  // The value of a header line of the newsbox's messages, in the order they lie in the file.
  std::vector<std::string> Headers(const std::string& box, const std::string& name) {
    std::vector<std::string> values;
    const std::string text = Newsbox(box);
    const std::string key = "\r\n" + name + ": ";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
      const size_t start = at + key.size();
      values.push_back(text.substr(start, text.find("\r\n", start) - start));
    }
    return values;
  }
  std::string LastArticle(const std::string& alias) { return settings.ReadText(alias, store::kLastArticleKey, ""); }

  test::ScopedTimeZone utc{"UTC0"};
};

TEST_F(WildFeeds, EveryEncodingZoneAndAtomShapeIsDeliveredAsWritten) {
  AddWildFeed("le", "utf16le.xml");
  AddWildFeed("be", "utf16be.xml");
  AddWildFeed("latin", "latin1.xml");
  AddWildFeed("cp", "cp1252.xml");
  AddWildFeed("emoji", "emoji.xml");
  AddWildFeed("atom", "atom10.xml");
  // The article at 03:09:05 -0800 (11:09:05 UTC) is later than this, though 03:09 is not.
  settings.WriteText("le", store::kLastArticleKey, "12/07/2026 11:08:00");
  std::string output;
  EXPECT_EQ(Host("check le be latin cp emoji atom", output), 0) << output;
  EXPECT_NE(output.find("Feeds: 6, new articles: 7"), std::string::npos) << output;

  EXPECT_EQ(Headers("le", "Subject"), std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F"
                                                               "e aus K\xC3\xB6ln \xE2\x98\x95"});
  EXPECT_EQ(Headers("le", "Date"), std::vector<std::string>{"Mon, 07 Dec 2026 03:09:05 -0800"});
  EXPECT_EQ(Headers("le", "Website"), std::vector<std::string>{"http://example.org/le1"});
  EXPECT_NE(Newsbox("le").find("<p>Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F"
                               "e</p>"),
            std::string::npos);
  EXPECT_EQ(LastArticle("le"), "12/07/2026 11:09:05");

  EXPECT_EQ(Headers("be", "Subject"),
            std::vector<std::string>{"\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 "
                                     "\xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5"});
  EXPECT_EQ(Headers("be", "Date"), std::vector<std::string>{"Mon, 07 Dec 2026 20:30:00 +0900"});
  EXPECT_EQ(LastArticle("be"), "12/07/2026 11:30:00");

  // A Latin-1 byte and a reference to the same character give the same UTF-8.
  EXPECT_EQ(Headers("latin", "Subject"), std::vector<std::string>{"Caf\xC3\xA9 \xC3\xA9t\xC3\xA9"});
  EXPECT_EQ(Headers("latin", "Date"), std::vector<std::string>{"Tue, 01 Dec 2026 09:00:00 GMT"});
  EXPECT_NE(Newsbox("latin").find("cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                                  "e"),
            std::string::npos);
  EXPECT_EQ(LastArticle("latin"), "12/01/2026 09:00:00");

  EXPECT_EQ(Headers("cp", "Subject"), std::vector<std::string>{"\xE2\x80\x9C"
                                                               "Five \xE2\x82\xAC\xE2\x80\x9D \xE2\x80\x93 done"});
  EXPECT_EQ(Headers("cp", "Date"), std::vector<std::string>{"Tue,01 Dec 2026 4:00:00 PM GMT"});
  EXPECT_EQ(LastArticle("cp"), "12/01/2026 16:00:00");  // 4 PM, not 4 AM

  // Four-byte UTF-8 for the emoji; the reference to a lone surrogate stays as written.
  EXPECT_EQ(Headers("emoji", "Subject"), std::vector<std::string>{"Smile \xF0\x9F\x98\x80 &#xD800;"});
  EXPECT_NE(Newsbox("emoji").find("Grin \xF0\x9F\x98\x81"), std::string::npos);
  EXPECT_EQ(LastArticle("emoji"), "12/02/2026 10:00:00");

  // Atom 1.0: published, else updated (never the feed's own); the alternate link, not the replies.
  EXPECT_EQ(Headers("atom", "Subject"), (std::vector<std::string>{"Second",
                                                                  "Premi\xC3\xA8re entr\xC3\xA9"
                                                                  "e"}));
  EXPECT_EQ(Headers("atom", "Date"),
            (std::vector<std::string>{"Sat, 05 Dec 2026 23:30:00 +0900", "Thu, 03 Dec 2026 08:15:00 -0800"}));
  EXPECT_EQ(Headers("atom", "Website"), (std::vector<std::string>{"http://blog.example.org/2026/12/second.html",
                                                                  "http://blog.example.org/2026/12/first.html"}));
  EXPECT_EQ(Headers("atom", "From"), (std::vector<std::string>{"atom", "Zo\xC3\xAB <zoe@example.org>"}));
  EXPECT_EQ(LastArticle("atom"), "12/05/2026 14:30:00");
  for (const char* box : {"le", "be", "latin", "cp", "emoji", "atom"}) {
    EXPECT_EQ(Headers(box, "Content-Type"), std::vector<std::string>(CountMessages(box), "text/html; charset=utf-8"));
  }

  // Nothing is new the second time.
  EXPECT_EQ(Host("check le be latin cp emoji atom", output), 0) << output;
  EXPECT_NE(output.find("Feeds: 6, new articles: 0"), std::string::npos) << output;
}

// The newsboxes open in ordinary mail readers with their text intact: Python's mailbox module
// and mutt read Subject, From and body of UTF-16, Latin-1 and windows-1252 feeds as UTF-8.
TEST_F(WildFeeds, MailReadersShowTheTextOfEveryEncoding) {
  const std::string python = TARNWICK_PYTHON3;
  if (python.empty()) GTEST_SKIP() << "the Windows build has no Python to read the mailboxes with";
  ASSERT_FALSE(python.ends_with("NOTFOUND")) << "python3 was not found when the tests were built";
  AddWildFeed("le", "utf16le.xml", 0);
  AddWildFeed("latin", "latin1.xml", 0);
  AddWildFeed("cp", "cp1252.xml", 0);
  AddWildFeed("atom", "atom10.xml", 0);
  std::string output;
  ASSERT_EQ(Host("check le latin cp atom", output), 0) << output;
  test::WriteFileBytes(dir.File("read.py"),
                       "import email, email.policy, mailbox, sys\n"
                       "def parse(f): return email.message_from_binary_file(f, policy=email.policy.default)\n"
                       "for path in sys.argv[1:]:\n"
                       "    for m in mailbox.mbox(path, factory=parse, create=False):\n"
                       "        print(m['Subject'], m['From'], m.get_content().strip(), sep='|')\n");
  std::string boxes;
  for (const char* box : {"le", "latin", "cp", "atom"}) boxes += " " + Quote(data + "/" + box + ".mbx");
  EXPECT_EQ(RunCommand(Quote(python) + " " + Quote(dir.File("read.py")) + boxes, output), 0) << output;
  EXPECT_EQ(output,
            "Gr\xC3\xBC\xC3\x9F"
            "e aus K\xC3\xB6ln \xE2\x98\x95|le|<x-html><p>Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F"
            "e</p></x-html>\n"
            "Caf\xC3\xA9 \xC3\xA9t\xC3\xA9|latin|<x-html>cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
            "e</x-html>\n"
            "\xE2\x80\x9C"
            "Five \xE2\x82\xAC\xE2\x80\x9D \xE2\x80\x93 done|cp|<x-html>It\xE2\x80\x99s here</x-html>\n"
            "Second|atom|<x-html>Two</x-html>\n"
            "Premi\xC3\xA8re entr\xC3\xA9"
            "e|Zo\xC3\xAB <zoe@example.org>|<x-html><p>Bonjour</p></x-html>\n");

  const std::string mutt = TARNWICK_MUTT;
  const std::string tmux = TARNWICK_TMUX;
  if (mutt.empty() || mutt.ends_with("NOTFOUND") || tmux.empty() || tmux.ends_with("NOTFOUND")) {
    GTEST_SKIP() << "mutt or tmux was not found when the tests were built (scripts/install-deps.sh installs both)";
  }
  // mutt runs read-only in a detached tmux session under a UTF-8 locale; the screen is read back.
  const std::string socket = dir.File("tmux.sock");
  std::filesystem::create_directory(dir.File("Mail"));  // or mutt asks to create its folder
  const std::string tmuxCommand =
      "HOME=" + Quote(dir.Path()) + " LANG=C.UTF-8 LC_ALL=C.UTF-8 " + Quote(tmux) + " -S " + Quote(socket);
  auto screen = [&](const std::string& expected) {
    std::string shown;
    for (int attempt = 0; attempt < 100 && shown.find(expected) == std::string::npos; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      RunCommand(tmuxCommand + " capture-pane -p -t 0", shown);
    }
    return shown;
  };
  ASSERT_EQ(RunCommand(tmuxCommand + " new-session -d -x 120 -y 30 " +
                           Quote(Quote(mutt) + " -n -F /dev/null -R -f " + Quote(data + "/le.mbx")),
                       output),
            0)
      << output;
  struct ServerEnd {  // the session ends with the test, whatever fails
    std::string command;
    ~ServerEnd() {
      std::string ignored;
      RunCommand(command, ignored);
    }
  } serverEnd{tmuxCommand + " kill-server"};
  const std::string index = screen("K\xC3\xB6ln");
  EXPECT_NE(index.find("Gr\xC3\xBC\xC3\x9F"
                       "e aus K\xC3\xB6ln \xE2\x98\x95"),
            std::string::npos)
      << index;
  RunCommand(tmuxCommand + " send-keys -t 0 Enter", output);
  const std::string pager = screen("Sch\xC3\xB6ne");
  EXPECT_NE(pager.find("<p>Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F"
                       "e</p>"),
            std::string::npos)
      << pager;
  for (const std::string& shown : {index, pager}) {
    EXPECT_EQ(shown.find("\xEF\xBF\xBD"), std::string::npos) << shown;  // no replacement character
  }
}

}  // namespace
}  // namespace tarnwick
