#include "check/check_run.h"

#include "check/check_texts.h"
#include "check/document_prefetcher.h"
#include "check/polite_fetching.h"
#include "platform/ui_pump.h"
#include "store/file_utilities.h"
#include "store/folder_scanner.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <map>

namespace tarnwick::check {
namespace {

std::string FileNameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

// The file names of the feeds' cache files, each with its feed's alias, as the background fetch
// names them. An alias cannot be read back out of such a name: it was made safe for a file name
// ("Tech: News?" is fetched into "Tech News.rss") and may hold dots ("example.org.rss"). The
// first feed of the list keeps a name that two aliases share.
std::map<std::string, std::string> AliasesByCacheFileName(const store::SettingsStore& settings,
                                                          const std::string& dataFolder) {
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  std::map<std::string, std::string> aliases;
  for (const std::string& entry : entries) {
    std::string alias = entry.substr(0, entry.find('='));
    if (!alias.empty()) aliases.emplace(FileNameOf(store::FeedCachePath(dataFolder, alias)), std::move(alias));
  }
  return aliases;
}

// The alias a cached document stands for. A name that no feed's cache file has is read as the
// alias it spells without its extension: the document of a feed deleted since it was fetched
// then finds no settings, is reported, and stays.
std::string AliasOfCacheFile(const std::map<std::string, std::string>& aliases, const std::string& path) {
  const std::string name = FileNameOf(path);
  auto found = aliases.find(name);
  return found != aliases.end() ? found->second : name.substr(0, name.rfind('.'));
}

}  // namespace

CheckRun::CheckRun(Settings settings, FeedChecker& checker, mailbox::NewsboxWriter& writer,
                   const automation::HostAutomation& host, CheckView& view)
    : settings_(std::move(settings)), checker_(checker), writer_(writer), host_(host), view_(view) {}

void CheckRun::Record(const store::FeedSettings& feed, int result) {
  report_.lastResult = result;
  report_.feeds.push_back({feed.alias, feed.name, result, checker_.LeftInPending(), checker_.LastProblem(),
                           checker_.LastSkips(), checker_.LastNotModified(), checker_.LastNote(),
                           checker_.LastFailing()});
  report_.leftInPending += checker_.LeftInPending();
  // A check that wrote the feed's bookkeeping wrote its status with it; the others' statuses are
  // kept for one write of the settings when the run ends.
  if (!checker_.StatusRecorded()) statuses_.push_back({feed.alias, checker_.LastStatus()});
}

const RunReport& CheckRun::RunSelectedFeeds(const std::vector<store::FeedSettings>& feeds) {
  view_.ShowGeneralStatus(kGoingOnline);
  view_.ShowBusy(true);
  view_.SetRunControlsEnabled(false);
  const std::stop_token stop = ClearStop();
  report_.feedsDone = 0;
  report_.stopped = false;
  report_.stoppedFeed.clear();
  {
    // Ends with the loop: downloads still running stop and untaken documents go before completion.
    DocumentPrefetcher prefetcher(feeds, settings_.scratchFeedPath, settings_.settingsPath, stop);
    std::size_t index = 0;
    checker_.SetDocumentFetcher(
        [&](const store::FeedSettings&, const std::string& path) { return prefetcher.Take(index, path); });
    for (const store::FeedSettings& feed : feeds) {
      ++report_.feedsDone;
      Record(feed, checker_.CheckFeed(feed, false, settings_.scratchFeedPath, stop));
      ++index;
      report_.lastFeedUrl = feed.url;
      report_.lastFeedName = feed.name;
      report_.lastFeedNewsbox = feed.newsbox;
      if (stop.stop_requested()) {
        view_.ShowGeneralStatus(kGoingOffline);
        report_.stopped = true;
        if (checker_.LastProblem() == kStopped) report_.stoppedFeed = feed.name;
        break;
      }
      view_.ShowGeneralStatus(kNextFeed);
    }
    checker_.SetDocumentFetcher({});
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
  const auto aliases = AliasesByCacheFileName(settings, settings_.hostDataFolder);
  for (const store::FileEntry& entry : scanner.Entries()) {
    const std::string alias = AliasOfCacheFile(aliases, entry.path);
    if (alias.empty()) continue;
    store::FeedSettings feed = settings.LoadFeedByAlias(alias);
    Record(feed, checker_.CheckFeed(feed, true, entry.path));
  }
  ListHeldFeeds(settings);
  Complete(false);
  return report_;
}

void CheckRun::ListHeldFeeds(const store::SettingsStore& settings) {
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  const platform::DateTime now = checker_.TimeSource().Now();
  for (const std::string& entry : entries) {
    const std::string alias = entry.substr(0, entry.find('='));
    if (alias.empty() || settings.ReadInt(alias, store::kAutoCheckKey, 0) == 0) continue;
    const int interval = settings.ReadInt(alias, store::kIntervalMinutesKey, 0);
    std::string reason = BackgroundHold(ReadFeedState(settings, alias), interval, now);
    if (!reason.empty()) report_.held.push_back({alias, std::move(reason)});
  }
}

void CheckRun::Complete(bool manual) {
  RecordCheckStatuses(store::SettingsStore(settings_.settingsPath), statuses_);
  statuses_.clear();
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
