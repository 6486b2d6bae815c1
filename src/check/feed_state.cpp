#include "check/feed_state.h"

#include "store/settings_keys.h"

#include <algorithm>

namespace tarnwick::check {
namespace {

// A change of one key, unless the value is the same or could not be read back whole. `quoted`
// stores the value inside one more pair of quotes, which a read takes off again (an entity tag's
// own quotes would otherwise be taken for such a pair and lost).
void AddChange(std::vector<platform::IniChange>& changes, const std::string& alias, const char* key,
               const std::string& before, const std::string& after, bool quoted = false) {
  if (before == after) return;
  if (after.size() > store::SettingsStore::kMaxTextLength || after.find('\0') != std::string::npos) return;
  std::optional<std::string> value;
  if (!after.empty()) value = quoted ? '"' + after + '"' : after;
  changes.push_back({alias, key, std::move(value)});
}

// A count as stored: none when 0, so that a feed without failures has no key for them.
std::string CountText(int32_t count) {
  return count > 0 ? std::to_string(count) : std::string();
}

}  // namespace

FeedState ReadFeedState(const store::SettingsStore& settings, const std::string& alias) {
  FeedState state;
  state.lastArticle = settings.ReadText(alias, store::kLastArticleKey, store::kDefaultLastArticle);
  state.firstCheck = settings.ReadText(alias, store::kLastArticleKey, "").empty();
  state.firstCheckArticles = settings.ReadInt(alias, store::kFirstCheckArticlesKey, 0);
  state.validators = feed::ReadFeedValidators(settings, alias);
  state.retryAfter = settings.ReadText(alias, store::kRetryAfterKey, "");
  state.gone = settings.ReadInt(alias, store::kGoneKey, 0) != 0;
  state.movedTo = settings.ReadText(alias, store::kMovedToKey, "");
  state.lastProblem = settings.ReadText(alias, store::kLastProblemKey, "");
  state.checkedAt = settings.ReadText(alias, store::kCheckedAtKey, "");
  state.failuresInARow = std::max(0, settings.ReadInt(alias, store::kFailuresInARowKey, 0));
  state.failedAt = settings.ReadText(alias, store::kFailedAtKey, "");
  state.succeededAt = settings.ReadText(alias, store::kSucceededAtKey, "");
  state.deliveredAt = settings.ReadText(alias, store::kDeliveredAtKey, "");
  state.failingNamedAt = settings.ReadText(alias, store::kFailingNamedAtKey, "");
  return state;
}

std::vector<platform::IniChange> FeedStateChanges(const std::string& alias, const FeedState& before,
                                                  const FeedState& after) {
  std::vector<platform::IniChange> changes;
  AddChange(changes, alias, store::kLastArticleKey, before.lastArticle, after.lastArticle);
  AddChange(changes, alias, store::kEntityTagKey, before.validators.entityTag, after.validators.entityTag, true);
  AddChange(changes, alias, store::kLastModifiedKey, before.validators.lastModified, after.validators.lastModified,
            true);
  AddChange(changes, alias, store::kRetryAfterKey, before.retryAfter, after.retryAfter);
  AddChange(changes, alias, store::kGoneKey, before.gone ? "1" : "", after.gone ? "1" : "");
  AddChange(changes, alias, store::kMovedToKey, before.movedTo, after.movedTo);
  AddChange(changes, alias, store::kLastProblemKey, before.lastProblem, after.lastProblem);
  AddChange(changes, alias, store::kCheckedAtKey, before.checkedAt, after.checkedAt);
  AddChange(changes, alias, store::kFailuresInARowKey, CountText(before.failuresInARow),
            CountText(after.failuresInARow));
  AddChange(changes, alias, store::kFailedAtKey, before.failedAt, after.failedAt);
  AddChange(changes, alias, store::kSucceededAtKey, before.succeededAt, after.succeededAt);
  AddChange(changes, alias, store::kDeliveredAtKey, before.deliveredAt, after.deliveredAt);
  AddChange(changes, alias, store::kFailingNamedAtKey, before.failingNamedAt, after.failingNamedAt);
  return changes;
}

}  // namespace tarnwick::check
