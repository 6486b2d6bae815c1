#include "plugin/headless_remove_feed.h"

#include "platform/text.h"
#include "plugin/headless_runs.h"
#include "plugin/headless_texts.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <vector>

namespace tarnwick::plugin {
namespace {

// The alias as "Aliases" spells it, found without regard to case; empty when no entry has it.
std::string StoredAlias(const store::SettingsStore& settings, const std::string& alias) {
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  for (const std::string& entry : entries) {
    std::string stored = platform::TrimBlanks(entry.substr(0, entry.find('=')));
    if (!stored.empty() && platform::EqualsIgnoreCase(stored, alias)) return stored;
  }
  return {};
}

}  // namespace

int RemoveFeedHeadless(PluginContext& context, const std::string& alias, std::FILE* out) {
  if (context.settingsPath.empty()) {
    std::fprintf(out, "%s\n", kNotSetUpText);
    return kRunNotPossible;
  }
  const store::SettingsStore settings(context.settingsPath);
  const std::string stored = StoredAlias(settings, alias);
  std::string text;
  int result = kRunRefused;
  if (stored.empty()) {
    text = platform::FillText(kUnknownAliasText, {alias, context.settingsPath});
  } else {
    const std::string newsbox = settings.ReadText(stored, store::kNewsboxKey, store::SafeFileName(stored));
    const bool removed = settings.RemoveFeed(stored);
    text = removed ? platform::FillText(kRemovedText, {stored, newsbox}) : kSettingsNotWrittenText;
    if (removed) result = kRunAllChecked;
  }
  std::fprintf(out, "%s\n", text.c_str());
  return result;
}

}  // namespace tarnwick::plugin
