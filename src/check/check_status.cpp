#include "check/check_status.h"

#include "store/settings_keys.h"

#include <vector>

namespace tarnwick::check {

void RecordCheckStatus(const store::SettingsStore& settings, const std::string& alias, const CheckStatus& status) {
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  if (alias.empty() || !store::AliasExists(entries, alias)) return;
  (void)settings.WriteText(alias, store::kCheckedAtKey, status.checkedAt);
  if (!status.problem.empty()) {
    (void)settings.WriteText(alias, store::kLastProblemKey, status.problem);
  } else if (!settings.ReadText(alias, store::kLastProblemKey, "").empty()) {
    (void)settings.DeleteKey(alias, store::kLastProblemKey);
  }
}

CheckStatus ReadCheckStatus(const store::SettingsStore& settings, const std::string& alias) {
  return {settings.ReadText(alias, store::kCheckedAtKey, ""), settings.ReadText(alias, store::kLastProblemKey, "")};
}

}  // namespace tarnwick::check
