#pragma once

#include "feed/download.h"
#include "store/feed_settings.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace tarnwick::check {

/// How far a run downloads ahead of its checks.
struct PrefetchLimits {
  std::size_t inFlight = 4;  ///< downloads running at once
  std::size_t perHost = 2;   ///< downloads running at once from one host name
  std::size_t ahead = 8;     ///< feeds past the one being checked whose documents may be fetched
};

/// Downloads the documents of a run's feeds on worker threads while earlier feeds are checked,
/// in the order of the feeds and within the limits, each into its own file beside the scratch
/// document, each conditional on the validators of the document last delivered for its feed.
/// A stop (the run's, or the prefetcher's end) ends every download in flight at once. Whatever
/// was downloaded and not taken is removed when the prefetcher ends. Take is for one thread (the
/// run's); the downloads run on their own.
class DocumentPrefetcher {
public:
  /// Starts the first downloads. The feeds with an incomplete alias, name or URL are not fetched.
  DocumentPrefetcher(const std::vector<store::FeedSettings>& feeds, const std::string& scratchPath,
                     const std::string& settingsPath, std::stop_token stop, PrefetchLimits limits = {});
  /// Stops the downloads still running, waits for their threads and removes untaken documents.
  ~DocumentPrefetcher();
  DocumentPrefetcher(const DocumentPrefetcher&) = delete;
  DocumentPrefetcher& operator=(const DocumentPrefetcher&) = delete;

  /// The document of feed `index` as FreshFetch would leave it at `path` (an old file there
  /// removed first): waits for its download, handling the
  /// thread's waiting events meanwhile, and shows its failure as FreshFetch does. Feeds after it
  /// may be downloaded from then on.
  feed::FetchResult Take(std::size_t index, const std::string& path);

private:
  enum class State { kWaiting, kRunning, kDone, kTaken };
  struct Job {
    store::FeedSettings feed;
    std::string host;
    std::string documentPath;
    feed::DocumentValidators conditional;
    State state = State::kWaiting;
    feed::FetchResult result;
    std::thread thread;
  };

  void StartReady();  // with lock_ held
  void Download(std::size_t index);

  std::vector<Job> jobs_;
  PrefetchLimits limits_;
  std::stop_source stopSource_;
  std::stop_callback<std::function<void()>> runStop_;
  std::mutex lock_;
  std::condition_variable done_;
  std::size_t current_ = 0;  // the feed being checked; downloads reach `limits_.ahead` past it
  std::size_t running_ = 0;
  std::map<std::string, std::size_t> runningPerHost_;
  bool closing_ = false;  // the prefetcher is ending: no further download starts
};

}  // namespace tarnwick::check
