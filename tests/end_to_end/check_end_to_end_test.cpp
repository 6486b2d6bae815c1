// Checks feeds the way a user does from the command line: tarnwick-host loads libtarnwick.so from
// the data folder's plug-ins folder and runs the check; the newsboxes are then read from disk.
#include "store/feed_settings.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <regex>

namespace tarnwick {
namespace {

using test::ReadFileBytes;

// Runs a command line through the shell; its standard output (and error) and exit code.
int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& text) { return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'"; }

std::string RssItem(const std::string& id, const std::string& title, const std::string& date) {
  return "<item><title>" + title + "</title><link>http://example.org/" + id + "</link><guid>" + id +
         "</guid><pubDate>" + date + "</pubDate><description><![CDATA[<p>" + title +
         "</p>]]></description></item>";
}

std::string Rss(const std::string& items) {
  return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>T</title>" + items + "</channel></rss>";
}

class EndToEnd : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, plugins + "/libtarnwick.so");
    AddFeed("news", "News", Rss(RssItem("n1", "First news", "Mon, 30 Nov 2026 09:00:00 GMT") +
                                RssItem("n2", "Second news", "Tue, 01 Dec 2026 09:00:00 GMT")));
    AddFeed("planet", "Planet",
            "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\">"
            "<channel><title>P</title></channel><item><title>Alpha</title><link>http://example.org/alpha</link>"
            "<description>a</description></item></rdf:RDF>");
    AddFeed("weekly", "Weekly",
            "<feed xmlns=\"http://www.w3.org/2005/Atom\"><id>urn:w</id><title>W</title><entry><id>urn:w1</id>"
            "<title>Week one</title><link href=\"http://example.org/w1\"/><issued>2026-11-28T12:00:00Z</issued>"
            "<author><name>Ada</name><email>ada@example.org</email></author><content>c</content></entry></feed>");
    AddFeed("old", "Old", "<feed version=\"0.3\"><id>tag:old</id><entry><id>tag:old1</id><title>Old one</title>"
                          "<issued>2003-12-13T18:30:02Z</issued></entry></feed>");
    AddFeed("broken", "Broken", "<rss><channel><item><title>cut off");
  }

  void AddFeed(const std::string& alias, const std::string& newsbox, const std::string& document) {
    Serve(alias, document);
    test::WriteFileBytes(data + "/" + newsbox + ".mbx", "");
    store::FeedSettings feed{alias, alias + " feed", server.Url("/" + alias + ".xml"), newsbox,
                             data + "/" + newsbox + ".mbx", 0, 1, 0, 0, 1};
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
  EXPECT_NE(output.find("broken: not checked: the feed document is not well-formed XML"), std::string::npos)
      << output;
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
      "Tarnwick-Plugin-Version: 1.0\r\nFeed: news feed\r\nMIME-Version: 1.0\r\nContent-Type: text/html\r\n"
      "Content-Transfer-Encoding: 8bit\r\n\r\n<x-html><p>Second news</p></x-html>\r\n"
      "From \\?\\?\\?@\\?\\?\\? [^\r]*\r\nSubject: First news\r\n[^]*");
  EXPECT_TRUE(std::regex_match(Newsbox("News"), message)) << Newsbox("News");
  EXPECT_NE(Newsbox("Weekly").find("From: Ada <ada@example.org>\r\nDate: Sat, 28 Nov 2026 12:00:00\r\n"),
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
  std::string python = TARNWICK_PYTHON3;
  ASSERT_FALSE(python.empty() || python.ends_with("NOTFOUND")) << "python3 was not found when the tests were built";
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

TEST_F(EndToEnd, AddWithFirstDeliversOnlyTheNewestItemsOnTheFirstCheck) {
  std::string items;
  for (int day = 1; day <= 50; ++day) {  // oldest first, one a day from 1 January 2026
    const std::string date = std::to_string(day <= 31 ? day : day - 31) + (day <= 31 ? " Jan" : " Feb") + " 2026";
    items += RssItem("f" + std::to_string(day), "Day " + std::to_string(day), date + " 10:00:00 GMT");
  }
  Serve("flood", Rss(items));
  std::string output;
  EXPECT_EQ(Host("add flood " + server.Url("/flood.xml") + " Flood --first 0", output), 1) << output;
  EXPECT_EQ(Host("add flood " + server.Url("/flood.xml") + " Flood --last 5", output), 1) << output;
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

TEST_F(EndToEnd, PluginsVerbListsTheModuleAndSkipsBrokenOnes) {
  test::WriteFileBytes(plugins + "/notes.so", "not a module");
  std::string output;
  EXPECT_EQ(Host("plugins", output), 0) << output;
  EXPECT_NE(output.find("description: Tarnwick, Version: 1.0"), std::string::npos) << output;
  EXPECT_NE(output.find("Special menu: Tarnwick..."), std::string::npos) << output;
  EXPECT_NE(output.find("translator: Get the Full Article"), std::string::npos) << output;
  EXPECT_NE(output.find("notes.so: not a loadable plug-in"), std::string::npos) << output;
}

}  // namespace
}  // namespace tarnwick
