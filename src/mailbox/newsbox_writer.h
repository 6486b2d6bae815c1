#pragma once

#include "automation/host_automation.h"
#include "automation/host_message.h"
#include "feed/article.h"
#include "feed/article_admission.h"
#include "feed/link_key.h"
#include "mailbox/known_messages_cache.h"
#include "mailbox/tracker_removal.h"
#include "mailbox/new_article_notice.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "store/feed_settings.h"

#include <functional>
#include <stop_token>
#include <string>
#include <unordered_map>

namespace tarnwick::mailbox {

/// Texts the newsbox writer shows.
inline constexpr char kPendingMailboxName[] = "Pending";
inline constexpr char kDownloadingNewArticles[] = "Downloading new articles...";
inline constexpr char kDownloadingArticlePrefix[] = "Downloading articles... ";
inline constexpr char kCheckDone[] = "Checking the feed for new articles... Done.";
inline constexpr char kMaintenance[] = "Done. Performing maintenance jobs.";
inline constexpr char kSoFarPrefix[] = "So far, you've got ";
inline constexpr char kSoFarSuffix[] = " new articles.";
// Shown once per writer when a full article is left out for a reason the download does not report.
inline constexpr char kNoFullArticlePrefix[] = "An article is delivered without its full article: ";
inline constexpr char kPageFileNotDeleted[] = "the page file left from an earlier download cannot be deleted: ";
inline constexpr char kPageNotReadable[] = "the downloaded page cannot be read as text: ";
inline constexpr char kNoFullArticleSuffix[] = ". Further articles of this run may also come without theirs.";

/// Turns admitted articles into messages and gets them into a newsbox: it stages them in the host
/// mailbox "Pending" by appending to that mailbox's file, then has the host move each one into the
/// newsbox, announcing it to the Newsboard. One writer serves a main window for its lifetime and
/// counts the messages moved. Runs on the UI thread.
class NewsboxWriter {
public:
  struct Settings {
    std::string hostDataFolder;
    std::string pluginFolder;   // the full-article page is fetched into a work file there
    std::string versionText;    // "Version: 1.0"
    std::string separatorLine;  // the message separator with its CR LF
    bool pacing = true;         // the host is given time after it closes or creates a mailbox; off when headless
  };

  /// Everything given must outlive the writer; `progress` and `receiver` may be null.
  NewsboxWriter(Settings settings, const automation::HostAutomation& host, const platform::Clock& clock,
                DeliveryProgress* progress, NewArticleReceiver* receiver);

  /// Empties "Pending" (closing its window, cutting its file, deleting its table of contents; an
  /// empty one whose table lists nothing is left as it is) and makes the newsbox the one whose
  /// messages' identifiers are read when the first article comes to be admitted; their links are
  /// read when an item first needs them (one whose identifier is not among them). Both are asked
  /// of the host only when the newsbox's files changed since they were last read or delivered by
  /// this writer or an earlier one (see KnownMessagesCache). When "Pending" has no file and the
  /// host gives none ("-1" or nothing), there is nowhere to stage: see StagingReady.
  void PreparePending(const std::string& newsboxPath, const std::string& newsboxName);
  /// Admits the article and appends it as a message to "Pending"; true when appended. `reason`
  /// (when given) says why admission turned it away (kNone when it was admitted). A failed
  /// write leaves the file as it was and counts in AppendFailures; without a staging file nothing
  /// is admitted or appended. With the feed's full articles on, the article's page is fetched
  /// afresh into the work file; when that fails the article goes without it.
  bool AppendArticle(const store::FeedSettings& feed, feed::Article& article, const platform::DateTime& lastDate,
                     platform::DateTime& newestDate, const std::string& downloadText,
                     feed::SkipReason* reason = nullptr);
  /// Counts the link of one item of the document being checked: a link that several items share
  /// does not identify an item.
  void CountDocumentLink(const std::string& link) { linkGuard_.CountDocumentLink(link); }
  /// Has the host move every message of "Pending" into the newsbox, last first; each message is
  /// announced and counted once it has been moved. A `stop` ends the moving before the next
  /// message, leaving the rest in "Pending". What was known of the newsbox's messages before the
  /// moves, when its files had not changed since, is kept with the moved messages added. The number of messages moved;
  /// 0 when the host cannot be reached or there is no staging file.
  int DeliverPending(const std::string& newsboxPath, const std::string& newsboxName, int notifyNewsBoard,
                     std::stop_token stop = {});

  /// True when the last PreparePending..DeliverPending left messages behind in "Pending" or lost
  /// one on the way: no staging file, the host could not be reached, a move or an append failed.
  bool DeliveryIncomplete() const { return !stagingReady_ || deliveryIncomplete_ || appendFailures_ > 0; }
  /// False when the last PreparePending found no staging file and the host gave none.
  bool StagingReady() const { return stagingReady_; }
  /// Messages the last DeliverPending left in "Pending" (all appended ones when it reached no host).
  int LeftInPending() const { return leftInPending_; }
  /// Messages appended to "Pending" since the last PreparePending.
  int StagedCount() const { return appended_; }
  /// Appends that failed since the last PreparePending.
  int AppendFailures() const { return appendFailures_; }
  /// Messages moved into newsboxes since the writer was made.
  int NewArticleCount() const { return newArticles_; }
  /// The staging mailbox's file.
  const std::string& PendingMailboxPath() const { return pendingMailbox_; }

private:
  void Pause(int milliseconds) const;
  bool PendingAlreadyEmpty() const;
  automation::HostFolder FindNewsbox(const automation::HostApplication& application, const std::string& newsboxPath,
                                     const std::string& newsboxName);
  std::string FullArticleOf(const std::string& link);
  void ReportMissingFullArticle(const std::string& reason);
  bool AppendToPending(const std::string& message);
  const feed::KnownIds& ReadKnownIds();
  bool ForEachNewsboxMessage(const std::function<void(const automation::HostMessage&)>& visit);
  KnownMessages& Keep(KnownMessages known);
  void ReadNewsboxLinks(feed::LinkGuard& guard);
  bool DeliverOne(const automation::HostMessage& message, const automation::HostFolder& newsbox,
                  const std::string& newsboxName, int notifyNewsBoard, KnownMessages* known);

  Settings settings_;
  const automation::HostAutomation& host_;
  const platform::Clock& clock_;
  DeliveryProgress* progress_;
  NewArticleReceiver* receiver_;
  std::string pendingMailbox_;
  std::string pendingToc_;
  std::string newsboxPath_;  // the newsbox of the feed being checked
  std::string newsboxName_;
  const feed::KnownIds* knownIds_ = nullptr;  // those of the newsbox being checked, once read
  feed::LinkGuard linkGuard_;
  std::vector<automation::MailboxPathId> hostMailboxes_;  // the host's tree as last listed
  KnownMessagesCache known_;
  TrackingHosts trackers_;
  int newArticles_ = 0;
  int appended_ = 0;
  int appendFailures_ = 0;
  int leftInPending_ = 0;
  bool stagingReady_ = true;
  bool deliveryIncomplete_ = false;
  bool fullArticleProblemShown_ = false;
};

}  // namespace tarnwick::mailbox
