// tarnwick-host as a timer runs it: the crontab line and the systemd service of the README, run
// by hand against feeds served on 127.0.0.1, and the verbs that set the feeds up for it.
#include "platform/clock.h"
#include "platform/date_format.h"
#include "platform/dynamic_library.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/shell_command.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

namespace tarnwick {
namespace {

using test::Quote;
using test::ReadFileBytes;
using test::RunCommand;

std::string Rss(const std::string& title, const std::string& items) {
  return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>" + title + "</title>" + items +
         "</channel></rss>";
}

std::string Item(const std::string& id, const std::string& date) {
  return "<item><title>" + id + "</title><guid>" + id + "</guid><pubDate>" + date +
         "</pubDate><description>x</description></item>";
}

// How many characters of the UTF-8 line come before `text`.
size_t Column(const std::string& line, const std::string& text) {
  const size_t at = line.find(text);
  if (at == std::string::npos) return std::string::npos;
  return static_cast<size_t>(std::count_if(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(at),
                                           [](char c) { return (c & 0xC0) != 0x80; }));
}

// The command of the README's line that follows `marker` (a crontab line: after its five time
// fields; a unit's "ExecStart=").
std::string ReadmeCommand(const std::string& marker) {
  std::istringstream readme(ReadFileBytes(TARNWICK_README));
  std::smatch match;
  const std::regex crontab(R"(^(\S+\s+){5}(\S*tarnwick-host .*)$)");
  for (std::string line; std::getline(readme, line);) {
    if (marker == "crontab" && std::regex_match(line, match, crontab)) return match[2];
    if (marker != "crontab" && line.starts_with(marker)) return line.substr(marker.size());
  }
  return {};
}

class ScheduledUse : public ::testing::Test {
protected:
  void SetUp() override {
    // The home the README's lines name, with the data folder "Mail".
    std::filesystem::create_directories(data + "/plugins");
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, data + "/plugins/" + platform::ModuleFileName("tarnwick"));
    server.AddEndpoint(
        "/news.xml", 200,
        Rss("Daily News", Item("n1", "Mon, 30 Nov 2026 09:00:00 GMT") + Item("n2", "Tue, 01 Dec 2026 09:00:00 GMT")));
    server.AddEndpoint("/planet.xml", 200, Rss("Planet", Item("p1", "Mon, 30 Nov 2026 10:00:00 GMT")));
  }

  void PlaceTheProgramWhereTheReadmeBuildsIt() {
    std::filesystem::create_directories(home.File("tarnwick/build/host"));
    std::filesystem::create_symlink(TARNWICK_HOST_FILE, home.File("tarnwick/build/host/tarnwick-host"));
  }
  int Host(const std::string& arguments, std::string& output) {
    return RunCommand(Quote(TARNWICK_HOST_FILE) + " --data-folder " + Quote(data) + " " + arguments, output);
  }
  // Runs a command line as cron or systemd would: through the shell, with HOME the test's home.
  int AsTimer(const std::string& command, std::string& output) {
    return RunCommand("cd / && HOME=" + Quote(home.Path()) + " sh -c " + Quote(command), output);
  }
  int CountMessages(const std::string& box) {
    const std::string text = ReadFileBytes(data + "/" + box + ".mbx");
    int count = 0;
    for (size_t at = text.find("From ???@??? "); at != std::string::npos; at = text.find("From ???@??? ", at + 1)) {
      ++count;
    }
    return count;
  }
  std::string Settings() { return ReadFileBytes(data + "/plugins/tarnwick.ini"); }

  test::TempDir home;
  std::string data = home.File("Mail");
  store::SettingsStore settings{data + "/plugins/tarnwick.ini"};
  test::HttpServer server;
};

TEST_F(ScheduledUse, TheReadmeCrontabLineRunTwicePrintsOnlyTheCount) {
  if (!test::ShellIsPosix()) GTEST_SKIP() << "cron's and systemd's lines are POSIX shell lines";
  PlaceTheProgramWhereTheReadmeBuildsIt();
  std::string output;
  ASSERT_EQ(Host("add news " + server.Url("/news.xml") + " --newsbox News", output), 0) << output;
  ASSERT_EQ(Host("add planet " + server.Url("/planet.xml"), output), 0) << output;
  const std::string cron = ReadmeCommand("crontab");
  ASSERT_NE(cron, "") << "no crontab line in the README";

  EXPECT_EQ(AsTimer(cron, output), 0) << cron;
  EXPECT_EQ(output, "New articles: 3\n");
  EXPECT_EQ(CountMessages("News"), 2);
  EXPECT_EQ(CountMessages("planet"), 1);  // the newsbox named after the alias
  EXPECT_EQ(AsTimer(cron, output), 0) << cron;
  EXPECT_EQ(output, "New articles: 0\n");

  const std::string service = ReadmeCommand("ExecStart=");
  ASSERT_NE(service, "") << "no service unit in the README";
  EXPECT_EQ(AsTimer(std::regex_replace(service, std::regex("%h"), "$HOME"), output), 0) << service;
  EXPECT_EQ(output, "New articles: 0\n");
  EXPECT_EQ(CountMessages("News"), 2);
}

// The README's service and timer units as systemd reads them, the program where they name it.
TEST_F(ScheduledUse, TheReadmeUnitsAreValidForSystemd) {
  const std::string analyze = TARNWICK_SYSTEMD_ANALYZE;
  if (analyze.empty() || analyze.ends_with("NOTFOUND")) GTEST_SKIP() << "systemd-analyze was not found";
  PlaceTheProgramWhereTheReadmeBuildsIt();
  const std::regex unit(R"(```ini\n([^`]*)```)");
  const std::string readme = ReadFileBytes(TARNWICK_README);
  std::vector<std::string> units;
  for (std::sregex_iterator it(readme.begin(), readme.end(), unit), end; it != end; ++it) units.push_back((*it)[1]);
  ASSERT_EQ(units.size(), 2u) << "the README shows a service and a timer";
  test::WriteFileBytes(home.File("tarnwick-check.service"),
                       std::regex_replace(units[0], std::regex("%h"), home.Path()));
  test::WriteFileBytes(home.File("tarnwick-check.timer"), units[1]);
  std::string output;
  EXPECT_EQ(RunCommand("cd " + Quote(home.Path()) + " && " + Quote(analyze) +
                           " verify --man=no ./tarnwick-check.timer ./tarnwick-check.service",
                       output),
            0)
      << output;
  EXPECT_EQ(output, "");
}

TEST_F(ScheduledUse, ExitStatusesAndTheFeedListFollowEveryCheck) {
  std::string output;
  ASSERT_EQ(Host("add news " + server.Url("/news.xml") + " News", output), 0) << output;
  ASSERT_EQ(Host("add flaky " + server.Url("/planet.xml") + " Caf\xC3\xA9", output), 0) << output;
  server.AddEndpoint("/planet.xml", 500, "");

  // The failure and its reason on standard error (after what the download said); standard output
  // has the count alone.
  EXPECT_EQ(RunCommand(test::WithoutStandardError(Quote(TARNWICK_HOST_FILE) + " --data-folder " + Quote(data) +
                                                  " check --quiet"),
                       output),
            1);
  EXPECT_EQ(output, "New articles: 2\n");
  EXPECT_EQ(Host("check --quiet", output), 1);
  EXPECT_TRUE(output.ends_with("\nflaky: not checked: the feed document could not be downloaded\nNew articles: 0\n"))
      << output;

  EXPECT_EQ(Host("feeds", output), 0) << output;
  std::istringstream lines(output);
  std::string head, flaky, news, more;
  std::getline(lines, head);
  std::getline(lines, flaky);
  std::getline(lines, news);
  EXPECT_FALSE(std::getline(lines, more)) << output;
  const std::regex row(R"((\S+) +(\S+) +(.+?) +(\d+/\d+/\d{4} \d+:\d\d:\d\d [AP]M) +(.+))");
  std::smatch cells;
  ASSERT_TRUE(std::regex_match(flaky, cells, row)) << output;
  EXPECT_EQ(cells[1], "flaky");
  EXPECT_EQ(cells[2], "Caf\xC3\xA9");
  EXPECT_EQ(cells[3], "-");
  EXPECT_EQ(cells[5], "the feed document could not be downloaded");
  // Every column starts under its head, counted in characters.
  EXPECT_EQ(Column(flaky, "the feed"), Column(head, "LAST PROBLEM")) << output;
  EXPECT_EQ(Column(flaky, cells[4]), Column(head, "LAST CHECK")) << output;
  ASSERT_TRUE(std::regex_match(news, cells, row)) << output;
  EXPECT_EQ(cells[3], "12/01/2026 09:00:00");
  EXPECT_EQ(cells[5], "-");
  EXPECT_EQ(Column(news, "12/01/2026"), Column(head, "LAST ARTICLE")) << output;

  // A good check clears the problem.
  server.AddEndpoint("/planet.xml", 200, Rss("Planet", Item("p1", "Mon, 30 Nov 2026 10:00:00 GMT")));
  EXPECT_EQ(Host("check --quiet flaky", output), 0);
  EXPECT_EQ(output, "New articles: 1\n");
  EXPECT_EQ(settings.ReadText("flaky", store::kLastProblemKey, "absent"), "absent");
  EXPECT_EQ(Host("feeds", output), 0);
  EXPECT_EQ(output.find("could not be downloaded"), std::string::npos) << output;

  // Nothing could be done: 2, with the reason.
  EXPECT_EQ(Host("check --quiet nosuch", output), 2);
  EXPECT_NE(output.find("No feed has the alias \"nosuch\""), std::string::npos) << output;
  EXPECT_EQ(
      RunCommand(Quote(TARNWICK_HOST_FILE) + " --data-folder " + Quote(home.File("none")) + " check --quiet", output),
      2)
      << output;
  std::filesystem::create_directory(home.File("empty"));
  EXPECT_EQ(Host("--plugins-folder " + Quote(home.File("empty")) + " check --quiet", output), 2) << output;
  EXPECT_EQ(Host("feeds extra", output), 2) << output;
}

TEST_F(ScheduledUse, AQuietCheckNamesAFeedThatKeepsFailingOnceADayAndTheFeedListSaysHowEachFeedIsDoing) {
  std::string output;
  ASSERT_EQ(Host("add news " + server.Url("/news.xml") + " News", output), 0) << output;
  ASSERT_EQ(Host("add broken " + server.Url("/planet.xml") + " Broken", output), 0) << output;
  ASSERT_EQ(Host("check --quiet news", output), 0) << output;
  server.AddEndpoint("/planet.xml", 500, "");
  const std::string named = "\nbroken: not checked: the feed document could not be downloaded\nNew articles: 0\n";

  // Its first failures are named at every run, the third (the feed is failing now) once more, and
  // then nothing, not even what the download said, until a day has passed.
  for (int run = 1; run <= 3; ++run) {
    EXPECT_EQ(Host("check --quiet broken", output), 1);
    EXPECT_TRUE(output.ends_with(named)) << run << ": " << output;
  }
  EXPECT_EQ(Host("check --quiet", output), 1);
  EXPECT_EQ(output, "New articles: 0\n");
  EXPECT_EQ(Host("feeds", output), 0);
  EXPECT_NE(output.find("  failing (4 failures in a row): the feed document could not be downloaded\n"),
            std::string::npos)
      << output;
  const platform::DateTime now = platform::SystemClock().Now();
  settings.WriteText("broken", store::kFailingNamedAtKey, platform::FormatLocaleDate(now.AddMinutes(-25 * 60)));
  EXPECT_EQ(Host("check --quiet broken", output), 1);
  EXPECT_TRUE(output.ends_with(named)) << output;

  // A feed that answers without anything new for 90 days is quiet, not failing.
  settings.WriteText("news", store::kDeliveredAtKey, platform::FormatLocaleDate(now.AddMinutes(-91 * 24 * 60)));
  EXPECT_EQ(Host("feeds", output), 0);
  EXPECT_NE(output.find("  quiet (no new article for 90 days)\n"), std::string::npos) << output;

  // One good check clears the failing feed.
  server.AddEndpoint("/planet.xml", 200, Rss("Planet", Item("p1", "Mon, 30 Nov 2026 10:00:00 GMT")));
  EXPECT_EQ(Host("check --quiet broken", output), 0);
  EXPECT_EQ(output, "New articles: 1\n");
  EXPECT_EQ(Host("feeds", output), 0);
  EXPECT_EQ(output.find("failing"), std::string::npos) << output;
}

TEST_F(ScheduledUse, AddAndRemoveRefuseWhatFeedPropertiesRefuses) {
  server.AddEndpoint("/page.html", 200, "<html><body><p>Not a feed<br></body></html>");
  server.AddEndpoint("/private.xml", 401, "", {{"WWW-Authenticate", "Basic realm=\"feeds\""}});
  std::string output;
  ASSERT_EQ(Host("add news " + server.Url("/news.xml"), output), 0) << output;
  EXPECT_EQ(settings.ReadText("news", store::kNameKey, ""), "Daily News");  // the feed's title
  const std::string before = Settings();

  struct Refusal {
    std::string arguments;
    int status;
    std::string text;
  };
  const std::string planet = " " + server.Url("/planet.xml");
  for (const Refusal& refusal : {
           Refusal{"NEWS" + planet, 1, "\"NEWS\" is already the alias of a feed."},
           Refusal{Quote("a=b") + planet, 1, "="},
           Refusal{"other" + planet + " --newsbox out", 1, "\"out\" is the mail client's own mailbox"},
           Refusal{"other" + planet + " pending", 1, "\"pending\" is the mail client's own mailbox"},
           Refusal{"other " + server.Url("/page.html") + " --newsbox Other", 1, "links to no RSS or Atom feed"},
           Refusal{"other " + server.Url("/gone.xml") + " --newsbox Other", 1,
                   "could not be downloaded (The requested URL returned error: 404); check the URL"},
           Refusal{"other " + server.Url("/private.xml") + " --newsbox Other", 1,
                   server.Url("/private.xml") + ": the feed needs a login. Nothing was added."},
           Refusal{"other http://127.0.0.1:1/x.xml --newsbox Other", 1,
                   "http://127.0.0.1:1/x.xml could not be downloaded ("},
           Refusal{"other " + Quote(""), 1, "A feed needs a URL."},
           Refusal{"other" + planet + " Other --newsbox Else", 2, "the newsbox is named twice"},
           Refusal{"other" + planet + " --newsbox", 2, "missing value after --newsbox"},
           Refusal{"other" + planet + " " + Quote(""), 2, "the newsbox needs a name"},
           Refusal{"other", 2, "wrong number of arguments"},
       }) {
    EXPECT_EQ(Host("add " + refusal.arguments, output), refusal.status) << refusal.arguments << "\n" << output;
    EXPECT_NE(output.find(refusal.text), std::string::npos) << refusal.arguments << "\n" << output;
  }
  EXPECT_EQ(Settings(), before);
  EXPECT_FALSE(std::filesystem::exists(data + "/Other.mbx")) << "a refused feed created its newsbox";

  // Delete as the main window does it: the settings go, the newsbox and its messages stay.
  ASSERT_EQ(Host("check news", output), 0) << output;
  ASSERT_EQ(CountMessages("news"), 2);
  EXPECT_EQ(Host("remove NEWS", output), 0) << output;
  EXPECT_NE(output.find("Feed \"news\" removed."), std::string::npos) << output;
  EXPECT_EQ(CountMessages("news"), 2);
  EXPECT_EQ(Settings().find("news"), std::string::npos) << Settings();
  EXPECT_EQ(Host("remove news", output), 1) << output;
  EXPECT_NE(output.find("No feed has the alias \"news\""), std::string::npos) << output;

  // A document of the removed feed still in the cache is reported, and gives it no section again.
  std::filesystem::create_directory(data + "/Feeds");
  test::WriteFileBytes(data + "/Feeds/news.rss", Rss("Daily News", Item("n3", "Wed, 02 Dec 2026 09:00:00 GMT")));
  EXPECT_EQ(Host("tick", output), 1) << output;
  EXPECT_EQ(Settings().find("news"), std::string::npos) << Settings();
}

// A web page with a <link rel="alternate"> to each feed.
std::string PageLinking(const std::vector<std::string>& feeds) {
  std::string head;
  for (const std::string& feed : feeds)
    head += "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"" + feed + "\">";
  return "<!DOCTYPE html><html><head><title>Home</title>" + head + "</head><body><p>Hello</p></body></html>";
}

TEST_F(ScheduledUse, AddTakesTheOneFeedAPageLinksToAndListsSeveralWithoutTakingAny) {
  server.AddEndpoint("/blog/", 200, PageLinking({"../news.xml"}));
  server.AddEndpoint("/both.html", 200, PageLinking({"/news.xml", server.Url("/planet.xml")}));
  std::string output;
  ASSERT_EQ(Host("add blog " + server.Url("/blog/"), output), 0) << output;
  EXPECT_NE(output.find(server.Url("/news.xml")), std::string::npos) << "says which feed it took\n" << output;
  EXPECT_EQ(settings.ReadText("blog", store::kUrlKey, ""), server.Url("/news.xml"));
  EXPECT_EQ(settings.ReadText("blog", store::kNameKey, ""), "Daily News");
  ASSERT_EQ(Host("check blog", output), 0) << output;
  EXPECT_EQ(CountMessages("blog"), 2);

  const std::string before = Settings();
  EXPECT_EQ(Host("add both " + server.Url("/both.html"), output), 1) << output;
  EXPECT_NE(output.find("links to several feeds"), std::string::npos) << output;
  EXPECT_NE(output.find("\n  " + server.Url("/news.xml")), std::string::npos) << output;
  EXPECT_NE(output.find("\n  " + server.Url("/planet.xml")), std::string::npos) << output;
  EXPECT_EQ(Settings(), before);
  EXPECT_FALSE(std::filesystem::exists(data + "/both.mbx")) << "a refused feed created its newsbox";
}

}  // namespace
}  // namespace tarnwick
