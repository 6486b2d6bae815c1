// Downloading many feed documents from a local server: one after another on the calling thread,
// and all at once through background download workers. Peak memory is reported as counters.
// Then many small feeds from one host, one after another and four at a time through workers (as
// a run's prefetching does), with the connections the server accepted per round as a counter:
// what reusing kept-alive connections saves.
#include <sys/resource.h>

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "feed/download.h"
#include "feed/download_worker.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

namespace {

using tarnwick::feed::DownloadWorkerSet;
using tarnwick::feed::FetchUrlToFile;
using tarnwick::feed::UrlOrigin;

constexpr int kDocuments = 200;
constexpr size_t kDocumentBytes = 200 * 1024;

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes here
}

// One server with the documents and one folder for the downloads, shared by every benchmark.
struct Fixture {
  Fixture() {
    std::string document = "<?xml version=\"1.0\"?><rss><channel>";
    while (document.size() < kDocumentBytes - 20) document += "<item><title>Item</title></item>";
    document.resize(kDocumentBytes - 16);
    document += "</channel></rss>";
    for (int i = 0; i < kDocuments; ++i) {
      std::string path = "/feed" + std::to_string(i) + ".xml";
      server.AddEndpoint(path, 200, document);
      urls.push_back(server.Url(path));
      targets.push_back(folder.File("feed" + std::to_string(i) + ".rss"));
    }
    baselineMegabytes = PeakMegabytes();
  }
  bool AllArrived() const {
    for (const std::string& target : targets) {
      if (tarnwick::test::ReadFileBytes(target).size() != kDocumentBytes) return false;
    }
    return true;
  }
  tarnwick::test::HttpServer server;
  tarnwick::test::TempDir folder;
  std::vector<std::string> urls;
  std::vector<std::string> targets;
  double baselineMegabytes = 0;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void Report(benchmark::State& state, const Fixture& fixture) {
  if (!fixture.AllArrived()) state.SkipWithError("a document did not arrive whole");
  state.counters["peak_rss_MB"] = PeakMegabytes();
  state.counters["rss_before_MB"] = fixture.baselineMegabytes;
  state.SetBytesProcessed(state.iterations() * kDocuments * static_cast<int64_t>(kDocumentBytes));
}

void FetchOneAfterAnother(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    for (int i = 0; i < kDocuments; ++i) {
      benchmark::DoNotOptimize(FetchUrlToFile(fixture.urls[i], fixture.targets[i], UrlOrigin::kTypedByUser));
    }
  }
  Report(state, fixture);
}
BENCHMARK(FetchOneAfterAnother)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void FetchThroughWorkersAtOnce(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    DownloadWorkerSet workers;
    for (int i = 0; i < kDocuments; ++i) {
      if (!workers.StartDownload({fixture.targets[i], fixture.urls[i]})) state.SkipWithError("no thread");
    }
    workers.WaitForAll();
  }
  Report(state, fixture);
}
BENCHMARK(FetchThroughWorkersAtOnce)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

constexpr int kSmallFeeds = 200;

// One server with small feed documents, all from one host.
struct SmallFeeds {
  SmallFeeds() {
    std::string document = "<?xml version=\"1.0\"?><rss><channel><title>Small</title>";
    while (document.size() < 2000) document += "<item><title>Item</title><link>http://example.com/</link></item>";
    document += "</channel></rss>";
    for (int i = 0; i < kSmallFeeds; ++i) {
      std::string path = "/small" + std::to_string(i) + ".xml";
      server.AddEndpoint(path, 200, document);
      urls.push_back(server.Url(path));
      targets.push_back(folder.File("small" + std::to_string(i) + ".rss"));
    }
  }
  tarnwick::test::HttpServer server;
  tarnwick::test::TempDir folder;
  std::vector<std::string> urls;
  std::vector<std::string> targets;
};

SmallFeeds& SharedSmallFeeds() {
  static SmallFeeds feeds;
  return feeds;
}

void ReportConnections(benchmark::State& state, const SmallFeeds& feeds, int connectionsBefore) {
  state.counters["connections_per_round"] =
      static_cast<double>(feeds.server.ConnectionCount() - connectionsBefore) / static_cast<double>(state.iterations());
  state.counters["feeds_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kSmallFeeds), benchmark::Counter::kIsRate);
}

void FetchSmallFeedsOneAfterAnother(benchmark::State& state) {
  SmallFeeds& feeds = SharedSmallFeeds();
  const int connectionsBefore = feeds.server.ConnectionCount();
  for (auto _ : state) {
    for (int i = 0; i < kSmallFeeds; ++i) {
      if (!FetchUrlToFile(feeds.urls[i], feeds.targets[i], UrlOrigin::kTypedByUser)) state.SkipWithError("failed");
    }
  }
  ReportConnections(state, feeds, connectionsBefore);
}
BENCHMARK(FetchSmallFeedsOneAfterAnother)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void FetchSmallFeedsFourAtATime(benchmark::State& state) {
  SmallFeeds& feeds = SharedSmallFeeds();
  const int connectionsBefore = feeds.server.ConnectionCount();
  for (auto _ : state) {
    for (int first = 0; first < kSmallFeeds; first += 4) {
      DownloadWorkerSet workers;
      for (int i = first; i < first + 4 && i < kSmallFeeds; ++i) {
        if (!workers.StartDownload({feeds.targets[i], feeds.urls[i]})) state.SkipWithError("no thread");
      }
      workers.WaitForAll();
    }
  }
  ReportConnections(state, feeds, connectionsBefore);
}
BENCHMARK(FetchSmallFeedsFourAtATime)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
