#pragma once

#include <string_view>

#include "feed/article.h"
#include "feed/known_ids.h"
#include "feed/link_key.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "store/feed_settings.h"

namespace tarnwick::feed {

/// Why an item of a feed did not become a message.
enum class SkipReason {
  kNone,              // admitted (or lost for a reason of the mailbox, which is reported apart)
  kNoTitleOrText,     // neither title nor body
  kNotNewer,          // not later than the feed's last article, which the feed asks for
  kAlreadyDelivered,  // its message identifier is in the newsbox
  kSameLink,          // a new identifier, but a message of the newsbox has its link
  kBeyondFirstCheck,  // not among the newest items that a feed's first check delivers
};
inline constexpr int kSkipReasonCount = 6;

/// True when the article is to become a message. Rejects, in this order: an article with neither
/// title nor body; after filling an empty author with the feed's name and an empty date with
/// `downloadText`, one without a message identifier (see MessageIdOf: only an item with neither
/// title nor body has none); when the feed's downloadOnlyNewArticles is 1,
/// one whose date is not later than `lastDate`; last, one whose message identifier is in
/// `knownIds`, and one whose link `links` (when given) finds already delivered. `reason` (when
/// given) receives why an article was rejected, kNone when it is admitted. A parsed date later
/// than `newestDate` becomes the new `newestDate`, even for a duplicate. Dates are compared as
/// instants (ReadArticleInstant: the date's zone applied, local time). The download time that
/// stands in for a missing date, or the current time for a date that does not split, is compared
/// but never becomes `newestDate`. A date that does not parse is replaced by `downloadText` and
/// counts as new without moving `newestDate`. `clock` supplies the current time for dates that do
/// not split into their parts (see ToParseableDate).
bool AdmitArticle(const store::FeedSettings& feed, Article& article, const platform::DateTime& lastDate,
                  platform::DateTime& newestDate, const KnownIds& knownIds, std::string_view downloadText,
                  const platform::Clock& clock, LinkGuard* links = nullptr, SkipReason* reason = nullptr);

}  // namespace tarnwick::feed
