#include "feed/article_admission.h"

#include <optional>
#include <string>

#include "feed/feed_date.h"

namespace tarnwick::feed {

bool AdmitArticle(const store::FeedSettings& feed, Article& article, const platform::DateTime& lastDate,
                  platform::DateTime& newestDate, const KnownIds& knownIds, std::string_view downloadText,
                  const platform::Clock& clock, LinkGuard* links, SkipReason* reason) {
  SkipReason ignored;
  SkipReason& why = reason != nullptr ? *reason : ignored;
  why = SkipReason::kNoTitleOrText;
  if (article.title.empty() && article.body.empty()) return false;
  if (article.author.empty()) article.author = feed.name;
  // The download time stands in for a missing date, but it names no publication: it never moves
  // the newest date on, or one undated item would hide every item published before the check.
  const bool fallbackDate = article.date.empty();
  if (fallbackDate) article.date = std::string(downloadText);

  const std::string messageId = MessageIdOf(article, feed.url);
  if (messageId.empty()) return false;
  const bool duplicate = knownIds.contains(messageId);

  // The date test comes before the duplicate is turned away, so that an item already delivered
  // still moves the newest date on.
  // Dates are compared as instants in local time, each moved from its own zone.
  const ArticleInstant instant = ReadArticleInstant(article.date, clock);
  const std::optional<platform::DateTime>& date = instant.local;
  if (date) {
    if (*date > lastDate) {
      if (*date > newestDate && !fallbackDate && !instant.currentTime) newestDate = *date;
    } else if (feed.downloadOnlyNewArticles == 1) {
      why = SkipReason::kNotNewer;
      return false;
    }
  } else {
    article.date = std::string(downloadText);
  }
  if (duplicate) {
    why = SkipReason::kAlreadyDelivered;
    return false;
  }
  // A feed that changes how it names its items (http to https, a new guid scheme) still links
  // them to the same pages.
  if (links != nullptr && links->AlreadyDelivered(article.link)) {
    why = SkipReason::kSameLink;
    return false;
  }
  why = SkipReason::kNone;
  return true;
}

}  // namespace tarnwick::feed
