#include "plugin/headless_add_feed.h"

#include "automation/automation_texts.h"
#include "automation/host_automation.h"
#include "plugin/headless_runs.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

namespace tarnwick::plugin {
namespace {

constexpr char kNotSetUp[] = "Tarnwick has not been initialised by its host.";
constexpr char kAliasTakenSuffix[] = "\" is already the alias of a feed.";
constexpr char kNoUrl[] = "A feed needs a URL.";
constexpr char kNoNewsboxSuffix[] = "\" for the feed's articles.";
constexpr char kNoNewsboxPrefix[] = "The mail client gave no mailbox \"";
constexpr char kSettingsNotWritten[] = "The settings file cannot be written.";
constexpr char kAddedPrefix[] = "Feed \"";
constexpr char kAddedMiddle[] = "\" added, delivering into \"";
constexpr char kAddedSuffix[] = "\".";
constexpr char kFirstCheckPrefix[] = " Its first check delivers its ";
constexpr char kFirstCheckSuffix[] = " newest articles.";

int Refuse(std::FILE* out, const std::string& text) {
  std::fprintf(out, "%s\n", text.c_str());
  return kRunNotPossible;
}

}  // namespace

int AddFeedHeadless(PluginContext& context, const NewFeed& feed, std::FILE* out) {
  if (context.settingsPath.empty()) return Refuse(out, kNotSetUp);
  const store::SettingsStore settings(context.settingsPath);
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  if (store::AliasExists(entries, feed.alias)) return Refuse(out, "\"" + feed.alias + kAliasTakenSuffix);
  const store::AliasCheck storable = store::CheckAliasStorable(feed.alias);
  if (!storable.storable) return Refuse(out, storable.message);
  if (feed.url.empty()) return Refuse(out, kNoUrl);
  const std::string newsboxPath = automation::HostAutomation([](int) {}).MailboxPathCreating(feed.newsbox);
  if (newsboxPath.empty() || newsboxPath == automation::kNoPath) {
    return Refuse(out, kNoNewsboxPrefix + feed.newsbox + kNoNewsboxSuffix);
  }
  const store::FeedSettings stored{feed.alias, feed.alias, feed.url, feed.newsbox, newsboxPath, 0, 1, 0, 0, 1};
  if (!settings.WriteFeed(stored, "")) return Refuse(out, kSettingsNotWritten);
  std::string added = kAddedPrefix + feed.alias + kAddedMiddle + feed.newsbox + kAddedSuffix;
  if (feed.firstCheckArticles > 0) {
    if (!settings.WriteInt(feed.alias, store::kFirstCheckArticlesKey, feed.firstCheckArticles)) {
      return Refuse(out, kSettingsNotWritten);
    }
    added += kFirstCheckPrefix + std::to_string(feed.firstCheckArticles) + kFirstCheckSuffix;
  }
  std::fprintf(out, "%s\n", added.c_str());
  return kRunAllChecked;
}

}  // namespace tarnwick::plugin
