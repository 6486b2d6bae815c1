#include "check/feed_health.h"

#include "check/check_texts.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"

#include <algorithm>

namespace tarnwick::check {
namespace {

constexpr int64_t kMinutesPerDay = 24 * 60;
// Beyond this many doublings every interval has passed the longest wait long ago.
constexpr int kMostDoublings = 20;

bool OlderThanDays(const std::string& time, int days, const platform::DateTime& now) {
  const std::optional<platform::DateTime> when = platform::ParseDate(time);
  return when && when->AddMinutes(days * kMinutesPerDay) <= now;
}

// The time of the newest new article: when one was last delivered, or, for a feed whose
// deliveries were never timed, the date of its newest article.
const std::string& NewestArticleTime(const FeedState& state) {
  return state.deliveredAt.empty() && !state.firstCheck ? state.lastArticle : state.deliveredAt;
}

}  // namespace

void RecordFailure(FeedState& state, const platform::DateTime& now, const std::string& cause) {
  ++state.failuresInARow;
  state.failedAt = platform::FormatLocaleDate(now);
  state.lastProblem = cause;
}

void RecordSuccess(FeedState& state, const platform::DateTime& now, bool delivered) {
  state.failuresInARow = 0;
  state.failedAt.clear();
  state.failingNamedAt.clear();
  state.succeededAt = platform::FormatLocaleDate(now);
  if (delivered) state.deliveredAt = state.succeededAt;
}

FeedHealth HealthOf(const FeedState& state, const platform::DateTime& now) {
  if (state.failuresInARow >= kFailuresUntilFailing) return FeedHealth::kFailing;
  if (state.failuresInARow > 0) {
    // A feed that never answered is judged by its count alone.
    return OlderThanDays(state.succeededAt, kDaysWithoutSuccessUntilFailing, now) ? FeedHealth::kFailing
                                                                                  : FeedHealth::kHealthy;
  }
  if (!state.succeededAt.empty() && OlderThanDays(NewestArticleTime(state), kDaysUntilQuiet, now)) {
    return FeedHealth::kQuiet;
  }
  return FeedHealth::kHealthy;
}

int64_t RetryDelayMinutes(int failuresInARow, int intervalMinutes) {
  const int64_t interval = std::max(1, intervalMinutes);
  const int doublings = std::clamp(failuresInARow - kFailuresUntilFailing + 1, 1, kMostDoublings);
  return std::min(interval << doublings, std::max(interval, static_cast<int64_t>(kLongestRetryMinutes)));
}

std::optional<platform::DateTime> NextRetry(const FeedState& state, int intervalMinutes,
                                            const platform::DateTime& now) {
  if (HealthOf(state, now) != FeedHealth::kFailing) return std::nullopt;
  const std::optional<platform::DateTime> failed = platform::ParseDate(state.failedAt);
  if (!failed) return std::nullopt;
  return failed->AddMinutes(RetryDelayMinutes(state.failuresInARow, intervalMinutes));
}

std::string HealthNote(const FeedState& state, const platform::DateTime& now) {
  switch (HealthOf(state, now)) {
    case FeedHealth::kFailing:
      return kFailingPrefix + std::to_string(state.failuresInARow) +
             (state.failuresInARow == 1 ? kFailureInARowSuffix : kFailuresInARowSuffix) + state.lastProblem;
    case FeedHealth::kQuiet:
      return kQuietNote;
    case FeedHealth::kHealthy:
      break;
  }
  return {};
}

std::string DownloadFailureCause(const feed::ServerAnswer& answer) {
  if (answer.status == feed::kUnauthorizedStatus) return kNeedsLogin;
  if (answer.Gone()) return kFeedGone;
  return kNotDownloaded;
}

}  // namespace tarnwick::check
