#pragma once

#include <string_view>

#include "feed/article.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "store/feed_settings.h"

namespace tarnwick::feed {

/// True when the article is to become a message. Rejects, in this order: an article with neither
/// title nor body; after filling an empty author with the feed's name and an empty date with
/// `downloadText`, one without a message identifier (see MessageIdOf: only an item with neither
/// title nor body has none); when the feed's downloadOnlyNewArticles is 1,
/// one whose date is not later than `lastDate`; last, one whose message identifier is in
/// `knownIds`. A parsed date later than `newestDate` becomes the new `newestDate`, even for a
/// duplicate. A date that does not parse is replaced by `downloadText` and counts as new without
/// moving `newestDate`. `clock` supplies the current time for dates that do not split into their
/// parts (see ToParseableDate).
bool AdmitArticle(const store::FeedSettings& feed, Article& article, const platform::DateTime& lastDate,
                  platform::DateTime& newestDate, const KnownIds& knownIds, std::string_view downloadText,
                  const platform::Clock& clock);

}  // namespace tarnwick::feed
