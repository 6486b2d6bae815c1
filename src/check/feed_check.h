#pragma once

#include "automation/host_automation.h"
#include "check/check_status.h"
#include "check/check_view.h"
#include "check/feed_state.h"
#include "feed/download.h"
#include "feed/xml_document.h"
#include "mailbox/newsbox_writer.h"
#include "platform/clock.h"
#include "store/feed_settings.h"

#include <array>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarnwick::check {

/// How many items of a feed were skipped, by reason (indexed by feed::SkipReason).
using SkipCounts = std::array<int, feed::kSkipReasonCount>;

/// Checks one feed: fetches its document (or takes it from the cache), reads every item, has the
/// newsbox writer deliver the new ones and records the newest article date in "LastArticle". Runs
/// on the UI thread and keeps the window alive by draining its events as it works (every few
/// milliseconds of work, never sleeping for it).
class FeedChecker {
public:
  struct Settings {
    std::string settingsPath;   // the settings file
    std::string inMailboxPath;  // where articles go when a feed's newsbox file is missing
  };

  /// Fetches a feed's document into a path for a check; returns what FreshFetch returns. A run
  /// hands in one that takes documents it downloaded ahead.
  using DocumentFetcher = std::function<feed::FetchResult(const store::FeedSettings& feed, const std::string& path)>;

  /// Everything given must outlive the checker.
  FeedChecker(Settings settings, mailbox::NewsboxWriter& writer, const automation::HostAutomation& host,
              const platform::Clock& clock, CheckView& view);

  /// Checks the feed with the document at `documentPath`, fetched first unless `fromCache`. The
  /// feed's bookkeeping (FeedState) is read when the check starts and written when it ends, in one
  /// write, only when more than "CheckedAt" changed (see StatusRecorded). The
  /// number of messages delivered into the newsbox (0 when the host could not be reached), or -1
  /// when the feed could not be checked (see LastProblem). The document file is deleted at the
  /// end, except when the settings are incomplete. A `stop` ends the check at once, whatever it is
  /// doing: while the document downloads, with -1 (nothing delivered, no partial document kept);
  /// later, with the number of messages moved by then. Either way LastProblem is kStopped and
  /// nothing is recorded for the feed, so what did not arrive comes with its next check.
  int CheckFeed(store::FeedSettings feed, bool fromCache, const std::string& documentPath, std::stop_token stop = {});

  /// Replaces how documents are fetched; an empty one restores the fresh fetch, made conditional
  /// by the validators of the document last delivered.
  void SetDocumentFetcher(DocumentFetcher fetcher) { fetcher_ = std::move(fetcher); }

  /// How the last check went, as the feed's status says it: when it ended and why it failed (a
  /// check that could not be done always says why).
  const CheckStatus& LastStatus() const { return status_; }
  /// Whether the last check wrote its status with the feed's bookkeeping; when not (nothing else
  /// changed, or the feed's settings were incomplete), the caller records LastStatus, which lets a
  /// run write the statuses of many unchanged feeds at once.
  bool StatusRecorded() const { return statusRecorded_; }

  /// Whether the feed was failing (see FeedHealth) when the last check ended.
  bool LastFailing() const { return failing_; }

  /// Whether the server said in the last check that the document has not changed since the one
  /// last delivered, so nothing was read.
  bool LastNotModified() const { return notModified_; }
  /// Why the last check returned -1 or left its articles undelivered; empty when it went well.
  const std::string& LastProblem() const { return problem_; }
  /// What the report should add about the last check that is no failure (the feed has moved).
  const std::string& LastNote() const { return note_; }
  /// The clock the checks read the time from.
  const platform::Clock& TimeSource() const { return clock_; }
  /// How many items of the last check's document did not become messages, by reason.
  const SkipCounts& LastSkips() const { return skips_; }
  /// How many messages of the last check the host did not move and so stayed in "Pending".
  int LeftInPending() const { return leftInPending_; }
  /// The current time of the last check in locale form, and in display form (the "Downloaded: " text).
  const std::string& NowText() const { return nowText_; }
  const std::string& DownloadText() const { return downloadText_; }

private:
  platform::DateTime LastArticleDate() const;
  enum class Document { kMissing, kLoaded, kNotModified };
  Document LoadDocument(const store::FeedSettings& feed, bool fromCache, const std::string& documentPath);
  int FirstCheckLimit() const;
  std::vector<bool> BeyondFirstCheck(const std::vector<feed::Article>& articles, int limit) const;
  bool StageItems(const store::FeedSettings& feed, const platform::DateTime& lastDate, platform::DateTime& newestDate,
                  int firstCheckLimit, std::stop_token stop);
  void ClosePendingWindow();
  void RecordOutcome(Document document, int result, bool stopped, const platform::DateTime& lastDate,
                     const platform::DateTime& newestDate);
  void RecordHealth(Document document, int result);
  void WriteState(const std::string& alias, const FeedState& before, int result);

  Settings settings_;
  mailbox::NewsboxWriter& writer_;
  const automation::HostAutomation& host_;
  const platform::Clock& clock_;
  CheckView& view_;
  feed::XmlDocument document_;
  std::string nowText_;
  std::string downloadText_;
  std::string problem_;
  std::string note_;
  int leftInPending_ = 0;
  SkipCounts skips_{};
  DocumentFetcher fetcher_;
  feed::DocumentValidators validators_;  // those of the document loaded by the current check
  bool notModified_ = false;
  FeedState state_;  // the bookkeeping of the feed being checked, as it is to be left
  CheckStatus status_;
  bool statusRecorded_ = false;
  bool failing_ = false;
  platform::DateTime now_;  // the time of the current check
};

}  // namespace tarnwick::check
