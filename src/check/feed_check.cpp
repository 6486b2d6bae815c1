#include "check/feed_check.h"

#include "check/check_texts.h"
#include "check/feed_health.h"
#include "check/polite_fetching.h"
#include "feed/download.h"
#include "feed/download_stop_scope.h"
#include "feed/feed_date.h"
#include "feed/feed_items.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "platform/file_system.h"
#include "platform/ui_pump.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <algorithm>
#include <optional>

namespace tarnwick::check {
namespace {

constexpr char kInMailboxName[] = "In";

// The date that stands for an unreadable "LastArticle": every dated article is later.
platform::DateTime UnreadableLastArticleDate() {
  return platform::DateTime::FromParts(1970, 1, 1, 10, 20, 30);
}

}  // namespace

FeedChecker::FeedChecker(Settings settings, mailbox::NewsboxWriter& writer, const automation::HostAutomation& host,
                         const platform::Clock& clock, CheckView& view)
    : settings_(std::move(settings)), writer_(writer), host_(host), clock_(clock), view_(view) {}

platform::DateTime FeedChecker::LastArticleDate() const {
  return platform::ParseDate(state_.lastArticle).value_or(UnreadableLastArticleDate());
}

FeedChecker::Document FeedChecker::LoadDocument(const store::FeedSettings& feed, bool fromCache,
                                                const std::string& documentPath) {
  validators_ = {};
  std::string serverProblem;
  feed::ServerAnswer answer;
  if (fromCache) {
    validators_ = feed::ReadValidatorsBeside(documentPath);
    note_ = MovedNote(state_);
  } else {
    feed::FetchResult fetched =
        fetcher_ ? fetcher_(feed, documentPath)
                 : feed::FreshFetch(feed.url, documentPath, feed::UrlOrigin::kTypedByUser, state_.validators);
    const bool arrived = !fetched.stopped && fetched.errorText.empty();
    AnswerEffect effect = RecordServerAnswer(state_, fetched.answer, arrived, clock_);
    answer = std::move(fetched.answer);
    serverProblem = std::move(effect.problem);
    note_ = std::move(effect.note);
    if (fetched.notModified) return Document::kNotModified;
    validators_ = std::move(fetched.validators);
  }
  document_.ParseText();
  if (document_.LoadFile(documentPath)) return Document::kLoaded;
  if (store::FileExists(documentPath)) {
    problem_ = kNotWellFormedPrefix + document_.ErrorText();
  } else {
    problem_ = serverProblem.empty() ? DownloadFailureCause(answer) : serverProblem;
  }
  return Document::kMissing;
}

// A feed's first check is one that has not yet recorded a last article.
int FeedChecker::FirstCheckLimit() const {
  return state_.firstCheck ? std::max(0, state_.firstCheckArticles) : 0;
}

// Marks every item but the `limit` newest: by date as an instant (its zone applied), an undated
// or unreadable date counting as the time of the check, and among equal dates the one earlier in
// the document (feeds list their newest first).
std::vector<bool> FeedChecker::BeyondFirstCheck(const std::vector<feed::Article>& articles, int limit) const {
  std::vector<bool> beyond(articles.size(), false);
  if (limit <= 0 || articles.size() <= static_cast<size_t>(limit)) return beyond;
  std::vector<std::pair<platform::DateTime, size_t>> dated;
  for (size_t index = 0; index < articles.size(); ++index) {
    const feed::ArticleInstant instant = feed::ReadArticleInstant(articles[index].date, clock_);
    dated.emplace_back(instant.local.value_or(clock_.Now()), index);
  }
  std::stable_sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t rank = static_cast<size_t>(limit); rank < dated.size(); ++rank) beyond[dated[rank].second] = true;
  return beyond;
}

// Reads and stages the document's items; false when a stop cut that short (the items staged so
// far are then left in "Pending" and come again with the next check).
bool FeedChecker::StageItems(const store::FeedSettings& feed, const platform::DateTime& lastDate,
                             platform::DateTime& newestDate, int firstCheckLimit, std::stop_token stop) {
  const feed::FeedFormat format = feed::DetectFeedFormat(document_);
  std::vector<feed::Article> articles;
  feed::WalkItems(
      document_, format,
      [&] {
        if (!stop.stop_requested()) articles.push_back(feed::ReadItem(document_, format, clock_));
      },
      [] { platform::DrainMessagesWhenDue(); });
  if (stop.stop_requested()) return false;
  // Every link of the document is counted before the first item is admitted: a link that
  // several items share identifies none of them.
  for (const feed::Article& article : articles) writer_.CountDocumentLink(article.link);
  const std::vector<bool> beyond = BeyondFirstCheck(articles, firstCheckLimit);
  for (size_t index = 0; index < articles.size(); ++index) {
    if (stop.stop_requested()) return false;
    feed::SkipReason reason = feed::SkipReason::kBeyondFirstCheck;
    feed::Article& article = articles[index];
    if (!beyond[index] && writer_.AppendArticle(feed, article, lastDate, newestDate, downloadText_, &reason)) {
      view_.ShowDetailsStatus(article.title + kByWord + article.author);
    } else if (reason != feed::SkipReason::kNone) {
      ++skips_[static_cast<size_t>(reason)];
    }
    platform::DrainMessagesWhenDue();
  }
  // A stop during the last full-article download left that article without its page.
  return !stop.stop_requested();
}

void FeedChecker::ClosePendingWindow() {
  // Opening "Pending" makes the host read what was staged: with nothing staged there is nothing to read.
  if (writer_.StagedCount() == 0) return;
  if (!host_.OpenMailboxByName(mailbox::kPendingMailboxName)) return;
  if (host_.MailboxWindowTitles().empty() || !host_.CloseTopMailboxWindow()) return;
  platform::DrainMessages();
  view_.FocusWindow();
}

int FeedChecker::CheckFeed(store::FeedSettings feed, bool fromCache, const std::string& documentPath,
                           std::stop_token stop) {
  problem_.clear();
  note_.clear();
  leftInPending_ = 0;
  skips_.fill(0);
  notModified_ = false;
  statusRecorded_ = false;
  failing_ = false;
  now_ = clock_.Now();
  nowText_ = platform::FormatLocaleDate(now_);
  downloadText_ = feed::NormalizeFeedDate(nowText_, feed::kFreeFormDateMode, clock_);
  status_ = {nowText_, kNotDownloaded};
  if (feed.alias.empty() || feed.name.empty() || feed.url.empty()) {
    problem_ = kIncompleteSettings;
    status_.problem = problem_;
    return -1;
  }
  if (!store::FileExists(feed.newsboxPath)) {
    feed.newsboxPath = settings_.inMailboxPath;
    feed.newsbox = kInMailboxName;
  }
  if (feed.newsbox.empty()) {
    problem_ = kNoNewsbox;
    status_.problem = problem_;
    return -1;
  }
  state_ = ReadFeedState(store::SettingsStore(settings_.settingsPath), feed.alias);
  const FeedState before = state_;
  const platform::DateTime lastDate = LastArticleDate();
  const int firstCheckLimit = FirstCheckLimit();
  platform::DateTime newestDate = lastDate;
  writer_.PreparePending(feed.newsboxPath, feed.newsbox);

  int result = -1;
  bool stopped = false;
  // The feed's downloads (its document, then the full-article pages) end at once on a stop.
  const feed::DownloadStopScope stoppable(stop);
  const Document document = LoadDocument(feed, fromCache, documentPath);
  if (document != Document::kMissing) {
    view_.ShowGeneralStatus(fromCache ? feed.name + kCheckingCacheSuffix
                                      : kCheckingPrefix + feed.name + kCheckingSuffix);
    // An unchanged document has nothing new to read; articles left in "Pending" still go.
    notModified_ = document == Document::kNotModified;
    stopped = !notModified_ && !StageItems(feed, lastDate, newestDate, firstCheckLimit, stop);
    if (!stopped) {
      ClosePendingWindow();
      result = writer_.DeliverPending(feed.newsboxPath, feed.newsbox, feed.notifyNewsBoard, stop);
      leftInPending_ = writer_.LeftInPending();
      stopped = stop.stop_requested() && writer_.DeliveryIncomplete();
      view_.SetProgress(100);
    } else {
      result = 0;
    }
  } else if (stop.stop_requested()) {
    problem_ = kStopped;
  }
  platform::RemoveFile(documentPath);
  if (fromCache) platform::RemoveFile(feed::ValidatorsFilePath(documentPath));
  view_.SetProgress(0);
  view_.ShowDetailsStatus("");
  RecordOutcome(document, result, stopped, lastDate, newestDate);
  RecordHealth(document, result);
  WriteState(feed.alias, before, result);
  failing_ = HealthOf(state_, now_) == FeedHealth::kFailing;
  platform::DrainMessagesWhenDue();
  return result;
}

// What the check leaves for the next one. A check cut short by a stop, or whose articles the host
// did not all take, moves neither the date nor the validators: the date must not move past an
// article that did not arrive, nor may the document's validators let the next download skip it.
// What the server said is kept whatever happened after.
void FeedChecker::RecordOutcome(Document document, int result, bool stopped, const platform::DateTime& lastDate,
                                const platform::DateTime& newestDate) {
  if (stopped) {
    problem_ = kStopped;
    return;
  }
  if (result >= 0 && writer_.DeliveryIncomplete()) {
    problem_ = writer_.StagingReady() ? kKeptInPending : kNoStagingMailbox;
    return;
  }
  if (newestDate > lastDate) state_.lastArticle = platform::FormatDate(newestDate, feed::kStoredDatePattern);
  // Only a delivered document's validators may make the next download conditional.
  if (document == Document::kLoaded) state_.validators = validators_;
}

// A feed whose document did not come failed (unless the user stopped it); one whose document came
// or had not changed answered, whatever became of its articles after that.
void FeedChecker::RecordHealth(Document document, int result) {
  if (problem_ == kStopped) return;
  if (document == Document::kMissing) {
    RecordFailure(state_, now_, problem_);
    return;
  }
  RecordSuccess(state_, now_, result > 0);
  status_.answered = true;
}

// One write for the whole bookkeeping, and none when nothing but the time of the check changed:
// that time is then the caller's to record (a run writes those of all such feeds at once).
void FeedChecker::WriteState(const std::string& alias, const FeedState& before, int result) {
  if (!problem_.empty() || result >= 0) status_.problem = problem_;
  state_.lastProblem = status_.problem;
  state_.checkedAt = status_.checkedAt;
  FeedState unchangedTime = state_;
  unchangedTime.checkedAt = before.checkedAt;
  if (status_.answered) unchangedTime.succeededAt = before.succeededAt;
  if (unchangedTime == before) return;
  const std::vector<platform::IniChange> changes = FeedStateChanges(alias, before, state_);
  statusRecorded_ = store::SettingsStore(settings_.settingsPath).Apply(changes);
}

}  // namespace tarnwick::check
