#include "feed/article_admission.h"

#include <algorithm>
#include <optional>
#include <string>

#include "feed/feed_date.h"
#include "platform/date_parser.h"

namespace tarnwick::feed {

bool AdmitArticle(const store::FeedSettings& feed, Article& article, const platform::DateTime& lastDate,
                  platform::DateTime& newestDate, const KnownIds& knownIds, std::string_view downloadText,
                  const platform::Clock& clock, const LinkGuard* links, SkipReason* reason) {
  SkipReason ignored;
  SkipReason& why = reason != nullptr ? *reason : ignored;
  why = SkipReason::kNoTitleOrText;
  if (article.title.empty() && article.body.empty()) return false;
  if (article.author.empty()) article.author = feed.name;
  if (article.date.empty()) article.date = std::string(downloadText);

  const std::string messageId = MessageIdOf(article, feed.url);
  if (messageId.empty()) return false;
  const bool duplicate = std::find(knownIds.begin(), knownIds.end(), messageId) != knownIds.end();

  // The date test comes before the duplicate is turned away, so that an item already delivered
  // still moves the newest date on.
  const std::optional<platform::DateTime> date = platform::ParseDate(ToParseableDate(article.date, clock));
  if (date) {
    if (*date > lastDate) {
      if (*date > newestDate) newestDate = *date;
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
