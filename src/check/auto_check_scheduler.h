#pragma once

#include "feed/download_worker.h"
#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tarnwick::check {

/// How often the background scheduler looks for due feeds.
inline constexpr std::chrono::minutes kTickPeriod{1};

/// Fetches feeds in the background: once a period (a minute) it looks at every feed with
/// "AutoCheck" set and, when its "LastCheck" time has come, starts a download worker that writes
/// the feed's cache file, then moves "LastCheck" on by "IntervalMinutes"; a feed whose previous
/// download is still running waits for a later tick. A feed whose server asked to wait
/// ("RetryAfter") is left alone until then, one it said is gone ("Gone") for good; what a server
/// answers is kept in the feed's settings. A failing feed (see FeedHealth) is tried again at
/// growing intervals rather than at every one, and never left alone for good. Nothing is
/// delivered here; the cached documents are checked the next time the user opens the program.
class AutoCheckScheduler {
public:
  struct Settings {
    std::string hostDataFolder;  // the cache folder "Feeds" is made in it
    std::string settingsPath;    // the settings file with the feeds
    std::chrono::milliseconds period{kTickPeriod};
  };

  /// `mainWindowOpen` is read at every tick: while it is set, ticks do nothing. The clock, flag and
  /// workers must outlive the scheduler, and the clock the downloads it started.
  AutoCheckScheduler(Settings settings, const std::atomic<bool>& mainWindowOpen, const platform::Clock& clock,
                     feed::DownloadWorkerSet& workers);
  /// Stops the thread (see Stop).
  ~AutoCheckScheduler();
  AutoCheckScheduler(const AutoCheckScheduler&) = delete;
  AutoCheckScheduler& operator=(const AutoCheckScheduler&) = delete;

  /// Starts the thread that ticks once a period; false when it runs already or cannot start.
  bool Start();
  /// Wakes the thread at once and waits for it to end: no tick runs after Stop returns. The
  /// downloads already started go on in their workers (DownloadWorkerSet::CancelAll ends them).
  void Stop();
  /// True between Start and Stop.
  bool Running() const { return thread_.joinable(); }

  /// One tick, on the calling thread: the due feeds without a download still running get their
  /// downloads, the feeds with an interval their next "LastCheck". Returns the number of
  /// downloads started.
  int Tick();

private:
  void Run();
  // Keeps in the settings what the server said to a background download of the feed.
  std::function<void(const feed::ServerAnswer&, bool)> AnswerRecorder(const std::string& settingsPath,
                                                                      const std::string& alias,
                                                                      const std::string& url) const;

  Settings settings_;
  const std::atomic<bool>& mainWindowOpen_;
  const platform::Clock& clock_;
  feed::DownloadWorkerSet& workers_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  std::thread thread_;
};

}  // namespace tarnwick::check
