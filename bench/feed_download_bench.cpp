// Downloading many feed documents from a local server: one after another on the calling thread,
// and all at once through background download workers. Peak memory is reported as counters.
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

}  // namespace

BENCHMARK_MAIN();
