// The headless check run: 100 feeds of 50 items each from a local server into 100 newsboxes,
// the first run (everything new) and the second (nothing new), without the pauses that keep
// windows painted; one feed with those pauses, to show what they cost; and the nothing-new check
// of one feed against newsboxes that hold many messages already.
#include "check/check_run.h"
#include "core/host_core.h"
#include "core/host_registry.h"
#include "mailbox/newsbox_writer.h"
#include "platform/clock.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

namespace {

using namespace tarnwick;

class QuietView : public check::CheckView {
public:
  void SetProgress(int) override {}
  void ShowGeneralStatus(const std::string&) override {}
  void ShowDetailsStatus(const std::string&) override {}
  void SetRunControlsEnabled(bool) override {}
  void ShowBusy(bool) override {}
  void FocusWindow() override {}
  void BringNewsboardForward() override {}
};

std::string FeedDocument(int feed, int items) {
  std::string text = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Feed</title>";
  for (int i = 0; i < items; ++i) {
    std::string id = std::to_string(feed) + "-" + std::to_string(i);
    text +=
        "<item><title>Item " + id + "</title><link>http://example.org/" + id + "</link><guid>" + id +
        "</guid><pubDate>Tue, 10 Jun 2003 04:" + std::to_string(10 + i % 50) +
        ":00 GMT</pubDate><description><![CDATA[<p>Body of item " + id +
        " with <b>markup</b> and a few words to make it a realistic size for a feed item.</p>]]></description></item>";
  }
  return text + "</channel></rss>";
}

// How the feeds' server answers a document it sent before.
enum class Server { kNoValidators, kIgnoresValidators, kHonoursValidators };

// A data folder with `feeds` feeds set up, a host published for it, and the run's objects.
struct Setup {
  Setup(int feeds, int items, bool pacing, Server answers = Server::kNoValidators)
      : writer({dir.Path(), dir.Path(), "Version: 1.0", "From ???@??? Mon Dec 7 07:03:15 2026\r\n", pacing}, host,
               clock, &view, nullptr),
        checker({dir.Path() + "/tarnwick.ini", dir.Path() + "/In.mbx"}, writer, host, clock, view),
        run({dir.Path() + "/feed.xml", dir.Path(), dir.Path() + "/tarnwick.ini"}, checker, writer, host, view) {
    std::string errorText;
    core = host::HostCore::Open(dir.Path(), {}, errorText);
    host::PublishHost(core);
    store::SettingsStore settings(dir.Path() + "/tarnwick.ini");
    for (int i = 0; i < feeds; ++i) {
      std::string alias = "feed" + std::to_string(i);
      test::HeaderList validators;
      if (answers != Server::kNoValidators) validators = {{"ETag", "\"" + alias + "-1\""}};
      server.AddEndpoint(
          "/" + alias + ".xml", 200, FeedDocument(i, items), validators,
          answers == Server::kHonoursValidators ? test::Behaviour::kConditional : test::Behaviour::kNormal);
      test::WriteFileBytes(dir.Path() + "/Box" + std::to_string(i) + ".mbx", "");
      list.push_back({alias, alias, server.Url("/" + alias + ".xml"), "Box" + std::to_string(i),
                      dir.Path() + "/Box" + std::to_string(i) + ".mbx", 0, 1, 0, 0, 1});
      settings.WriteFeed(list.back(), "");
    }
  }
  ~Setup() { host::WithdrawHost(core.get()); }

  test::TempDir dir;
  test::HttpServer server;
  std::shared_ptr<host::HostCore> core;
  platform::ManualClock clock{platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15)};
  QuietView view;
  automation::HostAutomation host{[](int) {}};
  mailbox::NewsboxWriter writer;
  check::FeedChecker checker;
  check::CheckRun run;
  std::vector<store::FeedSettings> list;
};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_CheckHundredFeeds(benchmark::State& state) {
  const bool secondRun = state.range(0) == 1;
  for (auto _ : state) {
    state.PauseTiming();
    auto setup = std::make_unique<Setup>(100, 50, false);
    if (secondRun) setup->run.RunSelectedFeeds(setup->list);
    state.ResumeTiming();
    check::CheckRun run({setup->dir.Path() + "/feed.xml", setup->dir.Path(), setup->dir.Path() + "/tarnwick.ini"},
                        setup->checker, setup->writer, setup->host, setup->view);
    const check::RunReport& report = run.RunSelectedFeeds(setup->list);
    int delivered = 0;
    for (const auto& feed : report.feeds) delivered += feed.result;
    if (delivered != (secondRun ? 0 : 5000)) state.SkipWithError("wrong number of articles delivered");
    state.PauseTiming();
    setup.reset();
    state.ResumeTiming();
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_CheckHundredFeeds)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// A run of range(0) feeds of 50 items: range(1) is 0 for the first run (everything new), 1 for a
// nothing-new run from a server that sends no validators, 2 from one that sends them and ignores
// them, 3 from one that honours them (every feed answered "not modified").
void BM_CheckRun(benchmark::State& state) {
  const int feeds = static_cast<int>(state.range(0));
  const int mode = static_cast<int>(state.range(1));
  const Server answers = mode == 0 || mode == 1 ? Server::kNoValidators
                         : mode == 2            ? Server::kIgnoresValidators
                                                : Server::kHonoursValidators;
  for (auto _ : state) {
    state.PauseTiming();
    auto setup = std::make_unique<Setup>(feeds, 50, false, answers);
    if (mode != 0) setup->run.RunSelectedFeeds(setup->list);
    state.ResumeTiming();
    check::CheckRun run({setup->dir.Path() + "/feed.xml", setup->dir.Path(), setup->dir.Path() + "/tarnwick.ini"},
                        setup->checker, setup->writer, setup->host, setup->view);
    const check::RunReport& report = run.RunSelectedFeeds(setup->list);
    int delivered = 0;
    int unchanged = 0;
    for (const auto& feed : report.feeds) {
      delivered += feed.result;
      unchanged += feed.notModified ? 1 : 0;
    }
    if (delivered != (mode == 0 ? feeds * 50 : 0)) state.SkipWithError("wrong number of articles delivered");
    if (unchanged != (mode == 3 ? feeds : 0)) state.SkipWithError("wrong number of unchanged feeds");
    state.PauseTiming();
    setup.reset();
    state.ResumeTiming();
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_CheckRun)
    ->ArgsProduct({{10, 100, 1000}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

bool CommandInstalled(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// One curl process fetching the documents of range(0) feeds, each with its validators (every
// answer "not modified"): the floor of the all-unchanged run. Skipped when curl is not installed.
void BM_CurlWithValidators(benchmark::State& state) {
  if (!CommandInstalled("curl")) {
    state.SkipWithError("curl is not installed");
    return;
  }
  const int feeds = static_cast<int>(state.range(0));
  Setup setup(feeds, 50, false, Server::kHonoursValidators);
  const std::string config = setup.dir.Path() + "/curl.config";
  std::string text;
  for (const store::FeedSettings& feed : setup.list) {
    if (!text.empty()) text += "next\n";  // the options after it are the next address's own
    text += "url = \"" + feed.url + "\"\nheader = \"If-None-Match: \\\"" + feed.alias +
            "-1\\\"\"\noutput = \"/dev/null\"\n";
  }
  test::WriteFileBytes(config, text);
  const std::string command = "curl -s -K '" + config + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("curl failed");
  }
  if (setup.server.ConditionalCount(setup.list.back().url.substr(setup.list.back().url.rfind('/'))) == 0) {
    state.SkipWithError("curl sent no validators");
  }
}
BENCHMARK(BM_CurlWithValidators)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A terminal feed reader fetching and storing the same range(0) feeds of 50 items into a new
// cache (its "reload" from the command line, no mail written): what the first run is measured
// against. Skipped when newsboat is not installed.
void BM_NewsboatFirstReload(benchmark::State& state) {
  if (!CommandInstalled("newsboat")) {
    state.SkipWithError("newsboat is not installed");
    return;
  }
  Setup setup(static_cast<int>(state.range(0)), 50, false);
  std::string urls;
  for (const store::FeedSettings& feed : setup.list) urls += feed.url + "\n";
  test::WriteFileBytes(setup.dir.Path() + "/urls", urls);
  test::WriteFileBytes(setup.dir.Path() + "/config", "");
  const std::string cache = setup.dir.Path() + "/cache.db";
  const std::string command = "newsboat -q -x reload -u '" + setup.dir.Path() + "/urls' -c '" + cache + "' -C '" +
                              setup.dir.Path() + "/config' >/dev/null 2>&1";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(cache);
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("newsboat failed");
  }
}
BENCHMARK(BM_NewsboatFirstReload)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CheckOneFeedWithPacing(benchmark::State& state) {
  const bool pacing = state.range(0) == 1;
  for (auto _ : state) {
    state.PauseTiming();
    auto setup = std::make_unique<Setup>(1, 50, pacing);
    state.ResumeTiming();
    setup->run.RunSelectedFeeds(setup->list);
    state.PauseTiming();
    setup.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CheckOneFeedWithPacing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// A newsbox holding `count` messages delivered earlier, written as the host's mailbox file.
void FillNewsbox(const std::string& path, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    bytes += "From ???@??? Mon Dec 7 07:03:15 2026\r\nSubject: Earlier article " + std::to_string(i) +
             "\r\nFrom: Feed\r\nDate: 12/07/2026 07:03:15\r\nMessage-Id: <earlier-" + std::to_string(i) +
             "@tarnwick.invalid>\r\nMIME-Version: 1.0\r\nContent-Type: text/html\r\n\r\n<x-html><p>An article "
             "delivered long ago, with a body of a realistic size for a feed item.</p></x-html>\r\n";
  }
  test::WriteFileBytes(path, bytes);
}

// The nothing-new check of one feed of 50 items against a newsbox of 0 ... 100,000 messages: the
// newsbox's message ids, read from the host by the first run, are kept while its files are unchanged.
void BM_NothingNewAgainstNewsbox(benchmark::State& state) {
  Setup setup(1, 50, false);
  FillNewsbox(setup.list[0].newsboxPath, static_cast<int>(state.range(0)));
  setup.run.RunSelectedFeeds(setup.list);  // delivers the 50 items; the newsbox is read once
  for (auto _ : state) {
    check::CheckRun run({setup.dir.Path() + "/feed.xml", setup.dir.Path(), setup.dir.Path() + "/tarnwick.ini"},
                        setup.checker, setup.writer, setup.host, setup.view);
    if (run.RunSelectedFeeds(setup.list).feeds.at(0).result != 0) state.SkipWithError("something was delivered");
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_NothingNewAgainstNewsbox)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
