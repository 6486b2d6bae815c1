#pragma once

#include "check/feed_state.h"
#include "feed/server_answer.h"
#include "platform/clock.h"
#include "platform/date_time.h"

#include <string>

namespace tarnwick::check {

/// What a server's answer to a feed's download means for the run's report: `problem` when the
/// server asked to wait or said the feed is gone, `note` when the feed has moved for good.
struct AnswerEffect {
  std::string problem;
  std::string note;
};

/// Keeps in the feed's bookkeeping what `answer` asks of later fetches, so that background
/// fetching follows it: "RetryAfter" for a request to wait, "Gone" for a feed that is gone. After
/// a download that worked (`fetched`: a document, or "not modified"), "Gone" and "RetryAfter" go
/// and "MovedTo" holds the address permanent redirects led to (or goes). Returns what the report
/// says about it.
AnswerEffect RecordServerAnswer(FeedState& state, const feed::ServerAnswer& answer, bool fetched,
                                const platform::Clock& clock);

/// The report's note for a feed whose "MovedTo" holds a new address; empty when it has none.
std::string MovedNote(const FeedState& state);

/// Why background fetching leaves the feed alone at `now`, in words for a report: it is gone,
/// its "RetryAfter" time has not come, or it is failing and its next try (see NextRetry, for a
/// feed fetched every `intervalMinutes`) has not come. Empty when the feed may be fetched.
std::string BackgroundHold(const FeedState& state, int intervalMinutes, const platform::DateTime& now);

/// Keeps in the feed's bookkeeping how a background download of it ended: a failure counts (with
/// its cause), and so does a "not modified", as a success; a document that came is judged when
/// it is checked.
void RecordBackgroundDownload(FeedState& state, const feed::ServerAnswer& answer, bool fetched,
                              const platform::DateTime& now);

}  // namespace tarnwick::check
