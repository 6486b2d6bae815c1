#include "check/skip_summary.h"

#include "check/check_texts.h"

namespace tarnwick::check {

std::string DescribeSkips(const SkipCounts& skips) {
  struct Phrase {
    feed::SkipReason reason;
    const char* text;
  };
  static constexpr Phrase kPhrases[] = {
      {feed::SkipReason::kNoTitleOrText, kSkippedNoTitleOrText},       {feed::SkipReason::kNotNewer, kSkippedNotNewer},
      {feed::SkipReason::kAlreadyDelivered, kSkippedAlreadyDelivered}, {feed::SkipReason::kSameLink, kSkippedSameLink},
      {feed::SkipReason::kBeyondFirstCheck, kSkippedBeyondFirstCheck},
  };
  std::string summary;
  for (const Phrase& phrase : kPhrases) {
    const int count = skips[static_cast<size_t>(phrase.reason)];
    if (count == 0) continue;
    if (!summary.empty()) summary += ", ";
    summary += std::to_string(count) + (count == 1 ? kSkippedItem : kSkippedItems) + phrase.text;
  }
  return summary;
}

}  // namespace tarnwick::check
