#include "feed/server_answer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "feed/feed_date.h"
#include "platform/text.h"

namespace tarnwick::feed {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Waits longer than this (about ten years) are taken as this, so the time stays a valid date.
constexpr int64_t kLongestWaitSeconds = int64_t{10} * 366 * 86400;

std::optional<int64_t> DelaySeconds(std::string_view text) {
  int64_t seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error == std::errc::result_out_of_range && end == text.data() + text.size()) return kLongestWaitSeconds;
  if (error != std::errc() || end != text.data() + text.size() || seconds < 0) return std::nullopt;
  return std::min(seconds, kLongestWaitSeconds);
}

}  // namespace

std::optional<platform::DateTime> RetryAfterTime(std::string_view value, const platform::Clock& clock) {
  const std::string text = platform::TrimWhiteSpace(value);
  if (text.empty()) return std::nullopt;
  if (const std::optional<int64_t> seconds = DelaySeconds(text)) {
    platform::DateTime until = platform::DateTime::FromDays(clock.Now().Days() + *seconds / kSecondsPerDay);
    return until.IsValid() ? std::optional(until) : std::nullopt;
  }
  // A text that is no date at all reads as the current time there; that is no answer here.
  const ArticleInstant instant = ReadArticleInstant(text, clock);
  if (instant.currentTime) return std::nullopt;
  return instant.local;
}

}  // namespace tarnwick::feed
