#include "check/feed_state.h"

#include "store/settings_keys.h"

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
  return changes;
}

}  // namespace tarnwick::check
