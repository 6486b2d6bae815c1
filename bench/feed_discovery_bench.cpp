// Feed discovery on pages of 100 KB to 3 MB: one made of empty scripts and styles (each of which
// once made the scanner copy the rest of the page) and one of distinct feed links (each of which
// was once compared with every link before it). The time per byte must not grow with the page:
// the fitted complexity is printed as O(N).

#include "feed/feed_discovery.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr char kPageUrl[] = "http://example.org/index.html";

// `unit` repeated to about `bytes` bytes, inside a page's head.
std::string Page(size_t bytes, const std::string& (*unit)(size_t)) {
  std::string page = "<html><head><title>Many</title>";
  for (size_t index = 0; page.size() < bytes; ++index) page += unit(index);
  return page + "</head><body></body></html>";
}

const std::string& ScriptOrStyle(size_t index) {
  static const std::string kScript = "<script></script>";
  static const std::string kStyle = "<STYLE>p{}</STYLE>";
  return index % 2 == 0 ? kScript : kStyle;
}

const std::string& FeedLink(size_t index) {
  static std::string link;
  link = "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"/feed/" + std::to_string(index) + "\">";
  return link;
}

void Discover(benchmark::State& state, const std::string& (*unit)(size_t)) {
  const std::string page = Page(static_cast<size_t>(state.range(0)), unit);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarnwick::feed::DiscoverFeeds(page, kPageUrl));
  }
  state.SetComplexityN(static_cast<int64_t>(page.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void PageOfScriptsAndStyles(benchmark::State& state) {
  Discover(state, ScriptOrStyle);
}
void PageOfFeedLinks(benchmark::State& state) {
  Discover(state, FeedLink);
}

constexpr int64_t kKilobyte = 1024;
constexpr int64_t kMegabyte = 1024 * kKilobyte;

void PageSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t bytes : {100 * kKilobyte, 300 * kKilobyte, kMegabyte, 3 * kMegabyte}) benchmark->Arg(bytes);
  benchmark->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

}  // namespace

BENCHMARK(PageOfScriptsAndStyles)->Apply(PageSizes);
BENCHMARK(PageOfFeedLinks)->Apply(PageSizes);

BENCHMARK_MAIN();
