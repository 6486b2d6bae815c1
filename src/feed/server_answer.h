#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/date_time.h"

namespace tarnwick::feed {

/// Statuses that ask a client to come back later, and the one that says a document is gone.
inline constexpr long kTooManyRequestsStatus = 429;
inline constexpr long kServiceUnavailableStatus = 503;
inline constexpr long kGoneStatus = 410;
/// The status that asks for a login, and the one that says a conditional request's document has
/// not changed.
inline constexpr long kUnauthorizedStatus = 401;
inline constexpr long kNotModifiedStatus = 304;

/// What the server said about a download besides the document: the status of its last answer,
/// when to come back, and where a permanent redirect sent the download.
struct ServerAnswer {
  long status = 0;         ///< status of the last answer; 0 when no HTTP answer came (a file URL, a failure)
  std::string retryAfter;  ///< that answer's "Retry-After" value as sent; empty when absent
  /// The address the download's leading permanent redirects (301, 308) led to, so that the feed
  /// can be updated to it; empty when the first answer was no permanent redirect. A temporary
  /// redirect ends the run: what follows it may change again.
  std::string movedTo;
  std::string finalUrl;     ///< the address the last answer came from (after every redirect)
  std::string contentType;  ///< the last answer's "Content-Type" as sent; empty when absent

  /// True when the server asked to be left alone for a while (429 or 503 with "Retry-After").
  bool AsksToWait() const {
    return (status == kTooManyRequestsStatus || status == kServiceUnavailableStatus) && !retryAfter.empty();
  }
  /// True when the server said the document is gone for good (410).
  bool Gone() const { return status == kGoneStatus; }
};

/// The local time a "Retry-After" value names: a number of seconds from `clock`'s now, or an HTTP
/// date (its zone applied). Nullopt for any other text.
std::optional<platform::DateTime> RetryAfterTime(std::string_view value, const platform::Clock& clock);

}  // namespace tarnwick::feed
