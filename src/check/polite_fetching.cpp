#include "check/polite_fetching.h"

#include "check/check_texts.h"
#include "check/feed_health.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "store/settings_keys.h"

namespace tarnwick::check {
namespace {

std::string MovedNoteFor(const std::string& address) {
  return kMovedToPrefix + address + kMovedToSuffix;
}

}  // namespace

AnswerEffect RecordServerAnswer(FeedState& state, const feed::ServerAnswer& answer, bool fetched,
                                const platform::Clock& clock) {
  AnswerEffect effect;
  if (answer.Gone()) {
    state.gone = true;
    effect.problem = kFeedGone;
    return effect;
  }
  if (answer.AsksToWait()) {
    // A "Retry-After" that names no time is no request this program can follow.
    if (const std::optional<platform::DateTime> until = feed::RetryAfterTime(answer.retryAfter, clock)) {
      state.retryAfter = platform::FormatLocaleDate(*until);
      effect.problem = kServerAskedToWaitPrefix + state.retryAfter;
    }
    return effect;
  }
  if (!fetched) return effect;
  state.gone = false;
  state.retryAfter.clear();
  state.movedTo = answer.movedTo;
  if (!answer.movedTo.empty()) effect.note = MovedNoteFor(answer.movedTo);
  return effect;
}

std::string MovedNote(const FeedState& state) {
  return state.movedTo.empty() ? std::string() : MovedNoteFor(state.movedTo);
}

std::string BackgroundHold(const FeedState& state, int intervalMinutes, const platform::DateTime& now) {
  if (state.gone) return kSkippedGone;
  const std::optional<platform::DateTime> until = platform::ParseDate(state.retryAfter);
  if (until && *until > now) return kSkippedWaitingPrefix + platform::FormatLocaleDate(*until) + kSkippedWaitingSuffix;
  const std::optional<platform::DateTime> retry = NextRetry(state, intervalMinutes, now);
  if (retry && *retry > now) return kSkippedWaitingPrefix + platform::FormatLocaleDate(*retry) + kSkippedFailingSuffix;
  return {};
}

void RecordBackgroundDownload(FeedState& state, const feed::ServerAnswer& answer, bool fetched,
                              const platform::DateTime& now) {
  if (!fetched) {
    RecordFailure(state, now, DownloadFailureCause(answer));
  } else if (answer.status == feed::kNotModifiedStatus) {
    RecordSuccess(state, now, false);
  }
}

}  // namespace tarnwick::check
