#pragma once

#include "check/feed_state.h"
#include "feed/server_answer.h"
#include "platform/date_time.h"

#include <optional>
#include <string>

namespace tarnwick::check {

/// Failures in a row that make a feed failing.
inline constexpr int kFailuresUntilFailing = 3;
/// Days without a success that make a feed with a failure failing.
inline constexpr int kDaysWithoutSuccessUntilFailing = 2;
/// Days without new articles after which a feed that answers is quiet.
inline constexpr int kDaysUntilQuiet = 90;
/// The longest wait of background fetching between two tries of a failing feed, unless the feed's
/// own interval is longer.
inline constexpr int kLongestRetryMinutes = 24 * 60;

/// How a feed is doing, as its bookkeeping says at a given time.
enum class FeedHealth {
  kHealthy,
  kFailing,  ///< kFailuresUntilFailing failures in a row, or a failure after two days without a success
  kQuiet,    ///< it answers, but no new article came for kDaysUntilQuiet days
};

/// Counts a failed check or background download at `now`; `cause` becomes "LastProblem".
void RecordFailure(FeedState& state, const platform::DateTime& now, const std::string& cause);

/// Records that the feed answered at `now` (its document came, or had not changed): its failures
/// and the day's naming of them go, "SucceededAt" becomes `now`, and "DeliveredAt" too when
/// `delivered` (new articles came).
void RecordSuccess(FeedState& state, const platform::DateTime& now, bool delivered);

/// The feed's health at `now`.
FeedHealth HealthOf(const FeedState& state, const platform::DateTime& now);

/// How long background fetching waits after the latest failure of a failing feed fetched every
/// `intervalMinutes` (0: every tick, as one minute): twice the interval after the third failure,
/// doubling with each further one, up to kLongestRetryMinutes or the interval if that is longer.
int64_t RetryDelayMinutes(int failuresInARow, int intervalMinutes);

/// When background fetching may try a failing feed again; none when it is not failing or its
/// latest failure has no readable time.
std::optional<platform::DateTime> NextRetry(const FeedState& state, int intervalMinutes, const platform::DateTime& now);

/// The feed's health in words for a list of feeds: "failing (N failures in a row): <cause>",
/// "quiet (...)", or empty for a healthy feed.
std::string HealthNote(const FeedState& state, const platform::DateTime& now);

/// Why a download the server answered with `answer` failed, in words for a report.
std::string DownloadFailureCause(const feed::ServerAnswer& answer);

}  // namespace tarnwick::check
