#include "check/auto_check_scheduler.h"

#include "check/polite_fetching.h"
#include "check/stored_proxy.h"
#include "feed/document_validators.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "platform/file_system.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <cstdio>
#include <exception>
#include <system_error>

namespace tarnwick::check {

AutoCheckScheduler::AutoCheckScheduler(Settings settings, const std::atomic<bool>& mainWindowOpen,
                                       const platform::Clock& clock, feed::DownloadWorkerSet& workers)
    : settings_(std::move(settings)), mainWindowOpen_(mainWindowOpen), clock_(clock), workers_(workers) {}

AutoCheckScheduler::~AutoCheckScheduler() {
  Stop();
}

bool AutoCheckScheduler::Start() {
  if (thread_.joinable()) return false;
  stopRequested_ = false;
  try {
    thread_ = std::thread(&AutoCheckScheduler::Run, this);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void AutoCheckScheduler::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard guard(lock_);
    stopRequested_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void AutoCheckScheduler::Run() {
  std::unique_lock guard(lock_);
  while (!wake_.wait_for(guard, settings_.period, [this] { return stopRequested_; })) {
    guard.unlock();
    try {
      Tick();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "background check: %s\n", error.what());
    }
    guard.lock();
  }
}

namespace {

// What the download asks the server about: a document still waiting in the cache is the newest
// the program has, so its validators count; otherwise those of the document last delivered.
feed::DocumentValidators ConditionalValidators(const store::SettingsStore& settings, const std::string& alias,
                                               const std::string& cachePath) {
  if (store::FileExists(cachePath)) return feed::ReadValidatorsBeside(cachePath);
  return feed::ReadFeedValidators(settings, alias);
}

}  // namespace

std::function<void(const feed::ServerAnswer&, bool)> AutoCheckScheduler::AnswerRecorder(const std::string& settingsPath,
                                                                                        const std::string& alias,
                                                                                        const std::string& url) const {
  const platform::Clock& clock = clock_;
  return [settingsPath, alias, url, &clock](const feed::ServerAnswer& answer, bool fetched) {
    const store::SettingsStore settings(settingsPath);
    // A feed edited or removed meanwhile is no longer at that address: the answer is not its.
    if (settings.ReadText(alias, store::kUrlKey, "") != url) return;
    const FeedState before = ReadFeedState(settings, alias);
    FeedState state = before;
    (void)RecordServerAnswer(state, answer, fetched, clock);
    RecordBackgroundDownload(state, answer, fetched, clock.Now());
    const std::vector<platform::IniChange> changes = FeedStateChanges(alias, before, state);
    if (!changes.empty()) (void)settings.Apply(changes);
  };
}

int AutoCheckScheduler::Tick() {
  if (mainWindowOpen_.load()) return 0;
  const std::string cacheFolder = settings_.hostDataFolder + "/Feeds";
  if (!store::FolderExists(cacheFolder) && !platform::MakeFolder(cacheFolder)) return 0;
  const platform::DateTime now = clock_.Now();
  const store::SettingsStore settings(settings_.settingsPath);
  UseStoredProxy(settings);

  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  int started = 0;
  for (const std::string& entry : entries) {
    const std::string alias = entry.substr(0, entry.find('='));
    if (settings.ReadInt(alias, store::kAutoCheckKey, 0) == 0) continue;
    auto lastCheck = platform::ParseDate(settings.ReadText(alias, store::kLastCheckKey, ""));
    const int interval = settings.ReadInt(alias, store::kIntervalMinutesKey, 0);
    // A feed whose server asked to wait, that it said is gone, or that is failing and waits for
    // its next try is not due; its "LastCheck" stays, so that it is fetched on the first tick
    // after the wait.
    const bool held = !BackgroundHold(ReadFeedState(settings, alias), interval, now).empty();
    const bool due = !held && lastCheck && *lastCheck <= now;
    if (due) {
      std::string cachePath = store::FeedCachePath(settings_.hostDataFolder, alias);
      // A feed whose last download is still running is left alone by this tick, its "LastCheck"
      // included: it stays due and gets its download on the first tick after that one ended.
      if (workers_.IsDownloadingTo(cachePath)) continue;
      const std::string url = settings.ReadText(alias, store::kUrlKey, "");
      feed::DownloadRequest request{cachePath, url, ConditionalValidators(settings, alias, cachePath),
                                    AnswerRecorder(settings_.settingsPath, alias, url)};
      if (workers_.StartDownload(std::move(request))) ++started;
    }
    if (interval != 0 && (due || !lastCheck)) {
      settings.WriteText(alias, store::kLastCheckKey, platform::FormatLocaleDate(clock_.Now().AddMinutes(interval)));
    }
  }
  return started;
}

}  // namespace tarnwick::check
