#include "check/check_run.h"

#include "check/check_texts.h"
#include "platform/ui_pump.h"
#include "store/folder_scanner.h"
#include "store/settings_store.h"

namespace tarnwick::check {
namespace {

// The alias a cached document stands for: its file name up to the first "."; empty when none.
std::string AliasOfCacheFile(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

}  // namespace

CheckRun::CheckRun(Settings settings, FeedChecker& checker, mailbox::NewsboxWriter& writer,
                   const automation::HostAutomation& host, CheckView& view)
    : settings_(std::move(settings)), checker_(checker), writer_(writer), host_(host), view_(view) {}

void CheckRun::Record(const store::FeedSettings& feed, int result) {
  report_.lastResult = result;
  report_.feeds.push_back({feed.alias, feed.name, result, checker_.LastProblem()});
}

const RunReport& CheckRun::RunSelectedFeeds(const std::vector<store::FeedSettings>& feeds) {
  view_.ShowGeneralStatus(kGoingOnline);
  view_.ShowBusy(true);
  view_.SetRunControlsEnabled(false);
  const std::stop_token stop = ClearStop();
  report_.feedsDone = 0;
  for (const store::FeedSettings& feed : feeds) {
    ++report_.feedsDone;
    Record(feed, checker_.CheckFeed(feed, false, settings_.scratchFeedPath, stop));
    report_.lastFeedUrl = feed.url;
    report_.lastFeedName = feed.name;
    report_.lastFeedNewsbox = feed.newsbox;
    if (stop.stop_requested()) {
      view_.ShowGeneralStatus(kGoingOffline);
      report_.stopped = true;
      break;
    }
    view_.ShowGeneralStatus(kNextFeed);
  }
  Complete(true);
  return report_;
}

const RunReport& CheckRun::RunCachedFeeds() {
  view_.ShowGeneralStatus(kLoadingFromCache);
  view_.ShowBusy(true);
  store::FolderScanner scanner;
  scanner.Scan(settings_.hostDataFolder + "/Feeds/", "*.rss", true, store::kScanUnsorted, false);
  const store::SettingsStore settings(settings_.settingsPath);
  for (const store::FileEntry& entry : scanner.Entries()) {
    const std::string alias = AliasOfCacheFile(entry.path);
    if (alias.empty()) continue;
    store::FeedSettings feed = settings.LoadFeedByAlias(alias);
    Record(feed, checker_.CheckFeed(feed, true, entry.path));
  }
  Complete(false);
  return report_;
}

void CheckRun::Complete(bool manual) {
  if (host_.OpenMailboxByName(mailbox::kPendingMailboxName) && !host_.MailboxWindowTitles().empty() &&
      host_.CloseTopMailboxWindow()) {
    view_.FocusWindow();
  }
  report_.newArticles = writer_.NewArticleCount();
  const std::string counterText = std::to_string(report_.newArticles);
  if (host_.SetStatusText(kHostReadyPrefix + counterText + kHostReadySuffix)) {
    view_.ShowGeneralStatus(kReady);
  } else {
    view_.ShowDetailsStatus(counterText);
  }
  view_.ShowBusy(false);
  if (manual) view_.SetRunControlsEnabled(true);
  if (report_.newArticles > 0) view_.BringNewsboardForward();
}

void CheckRun::RequestStop() {
  std::lock_guard guard(stopLock_);
  stopSource_.request_stop();
}

std::stop_token CheckRun::ClearStop() {
  std::lock_guard guard(stopLock_);
  stopSource_ = std::stop_source();
  return stopSource_.get_token();
}

}  // namespace tarnwick::check
