#pragma once

#include "automation/host_automation.h"
#include "check/check_status.h"
#include "check/check_view.h"
#include "check/feed_check.h"
#include "mailbox/newsbox_writer.h"
#include "store/feed_settings.h"
#include "store/settings_store.h"

#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

namespace tarnwick::check {

/// How one feed of a run went.
struct FeedOutcome {
  std::string alias;
  std::string name;
  int result = -1;           // messages delivered, or -1 when the feed could not be checked
  int leftInPending = 0;     // messages the host did not move into the newsbox
  std::string problem;       // why, when something went wrong
  SkipCounts skipped{};      // items of its document that did not become messages, by reason
  bool notModified = false;  // the server said the document had not changed, so nothing was read
  std::string note;          // what the report adds that is no failure (the feed has moved)
  bool failing = false;      // the feed was failing when its check ended (see FeedHealth)
};

/// A feed that background fetching leaves alone, and why (for the report of a cache run).
struct HeldFeed {
  std::string alias;
  std::string reason;
};

/// What a run leaves for its report.
struct RunReport {
  int lastResult = -2;    // result of the latest feed; -2 when none was checked
  int feedsDone = 0;      // feeds started in a manual run
  int newArticles = 0;    // messages moved into newsboxes while the window was open
  int leftInPending = 0;  // messages of the run's feeds that the host did not move
  std::string lastFeedName;
  std::string lastFeedUrl;
  std::string lastFeedNewsbox;
  std::vector<FeedOutcome> feeds;  // every feed checked, in order
  std::vector<HeldFeed> held;      // cache run: feeds with "AutoCheck" that background fetching skips
  bool stopped = false;            // a manual run ended early at the user's request
  std::string stoppedFeed;         // the name of the feed whose check the stop cut short; empty between feeds
};

/// Takes a set of feeds through the check one after another, with the status texts, the locked
/// controls and the final count that frame a run. A manual run checks the selected feeds from
/// their URLs and can be stopped, also while a feed downloads; a cache run checks every document
/// the background scheduler left in the cache folder. Runs on the UI thread; RequestStop may come
/// from its events, which are handled while a download waits.
class CheckRun {
public:
  struct Settings {
    std::string scratchFeedPath;  // where feeds checked now are downloaded to
    std::string hostDataFolder;   // the cache folder "Feeds" lies in it
    std::string settingsPath;
  };

  /// Everything given must outlive the run.
  CheckRun(Settings settings, FeedChecker& checker, mailbox::NewsboxWriter& writer,
           const automation::HostAutomation& host, CheckView& view);

  /// Checks the feeds in order until asked to stop. The documents of the next feeds download
  /// meanwhile (DocumentPrefetcher), so a feed's check seldom waits for the network.
  const RunReport& RunSelectedFeeds(const std::vector<store::FeedSettings>& feeds);
  /// Checks every "*.rss" document of the cache folder and its sub-folders (sub-folders first) as
  /// the feed whose cache file has that name; a document that no feed's cache file is named like
  /// is taken for the alias of its name without extension, which has no feed, and stays. The
  /// report also lists the feeds that background fetching leaves alone, with the reason.
  const RunReport& RunCachedFeeds();
  /// Asks a manual run to stop: no further feed is started, and the downloads of the feed being
  /// checked end at once. A feed still downloading its document reports "stopped" and delivers
  /// nothing; one whose document is in finishes, without the full-article pages not downloaded
  /// by then. Safe from any thread.
  void RequestStop();
  /// The report so far.
  const RunReport& Report() const { return report_; }

private:
  void Record(const store::FeedSettings& feed, int result);
  void ListHeldFeeds(const store::SettingsStore& settings);
  void Complete(bool manual);
  std::stop_token ClearStop();  // a fresh stop for a new run; an earlier request no longer counts

  Settings settings_;
  FeedChecker& checker_;
  mailbox::NewsboxWriter& writer_;
  const automation::HostAutomation& host_;
  CheckView& view_;
  std::mutex stopLock_;  // guards the replacement of stopSource_ at the start of a run
  std::stop_source stopSource_;
  RunReport report_;
  std::vector<FeedCheckStatus> statuses_;  // of the feeds checked so far in this run
};

}  // namespace tarnwick::check
