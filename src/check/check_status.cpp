#include "check/check_status.h"

#include "store/settings_keys.h"

#include <vector>

namespace tarnwick::check {

void RecordCheckStatuses(const store::SettingsStore& settings, const std::vector<FeedCheckStatus>& statuses) {
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  std::vector<platform::IniChange> changes;
  for (const auto& [alias, status] : statuses) {
    if (alias.empty() || !store::AliasExists(entries, alias)) continue;
    changes.push_back({alias, store::kCheckedAtKey, status.checkedAt});
    if (status.answered) changes.push_back({alias, store::kSucceededAtKey, status.checkedAt});
    std::optional<std::string> problem;
    if (!status.problem.empty()) problem = status.problem;
    changes.push_back({alias, store::kLastProblemKey, std::move(problem)});
  }
  if (!changes.empty()) (void)settings.Apply(changes);
}

CheckStatus ReadCheckStatus(const store::SettingsStore& settings, const std::string& alias) {
  return {settings.ReadText(alias, store::kCheckedAtKey, ""), settings.ReadText(alias, store::kLastProblemKey, "")};
}

}  // namespace tarnwick::check
