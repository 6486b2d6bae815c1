// Costs of the settings file: loading the feed list of 60 feeds, and one read and one write in files
// of 60 and 1,000 feeds.
#include "store/settings_store.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

using tarnwick::store::FeedListSink;
using tarnwick::store::FeedSettings;
using tarnwick::store::SettingsStore;

class CountingSink : public FeedListSink {
public:
  void AddFeed(const FeedSettings&) override { ++feeds; }
  void AddNewsbox(const std::string&, const std::string&) override {}
  int feeds = 0;
};

// A settings file of `count` feeds in a fresh temporary folder, as the program writes it.
std::string MakeSettings(int count) {
  char folder[] = "/tmp/tarnwick-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) std::abort();
  std::string path = std::string(folder) + "/tarnwick.ini";
  SettingsStore store(path);
  for (int i = 0; i < count; ++i) {
    FeedSettings feed{"Feed " + std::to_string(i), "Feed number " + std::to_string(i),
                      "http://example.org/feeds/" + std::to_string(i) + ".xml", "News " + std::to_string(i % 7),
                      "/home/user/mail/News " + std::to_string(i % 7) + ".mbx", 0, 1, i % 2, 15, 1};
    store.WriteFeed(feed, "06/10/2003 04:00:00");
  }
  return path;
}

void BM_LoadFeedList60(benchmark::State& state) {
  SettingsStore store(MakeSettings(60));
  for (auto _ : state) {
    CountingSink sink;
    store.LoadFeedList(sink);
    if (sink.feeds != 60) state.SkipWithError("wrong feed count");
  }
}
BENCHMARK(BM_LoadFeedList60)->Unit(benchmark::kMillisecond);

// One read and one write of a feed's key in a file of range(0) feeds.
void BM_ReadText(benchmark::State& state) {
  SettingsStore store(MakeSettings(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(store.ReadText("Feed 30", "LastArticle", ""));
}
BENCHMARK(BM_ReadText)->Arg(60)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_WriteText(benchmark::State& state) {
  SettingsStore store(MakeSettings(static_cast<int>(state.range(0))));
  int round = 0;
  for (auto _ : state) store.WriteText("Feed 30", "LastArticle", "06/10/2003 04:00:" + std::to_string(round++ % 60));
}
BENCHMARK(BM_WriteText)->Arg(60)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
