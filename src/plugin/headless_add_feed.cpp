#include "plugin/headless_add_feed.h"

#include "automation/automation_texts.h"
#include "automation/host_automation.h"
#include "platform/text.h"
#include "plugin/headless_runs.h"
#include "plugin/headless_texts.h"
#include "store/file_utilities.h"
#include "store/fitting_text.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "ui/feed_lookup.h"
#include "ui/feed_properties.h"

namespace tarnwick::plugin {
namespace {

// The host's own mailboxes that Feed Properties refuses as a newsbox: the staging mailbox and the outbox.
constexpr const char* kReservedMailboxes[] = {"Pending", "Out"};

int Refuse(std::FILE* out, const std::string& text) {
  std::fprintf(out, "%s\n", text.c_str());
  return kRunRefused;
}

// The mailbox name the host will give the newsbox: the name made safe for a file, as the host
// stores it. Without a name, the feed's alias.
std::string NewsboxNameFor(const NewFeed& feed) {
  return platform::TrimWhiteSpace(store::SafeFileName(feed.newsbox.empty() ? feed.alias : feed.newsbox));
}

// Why the feed cannot be added, before anything is downloaded or created; empty when it can.
std::string RefusalBeforeDownload(const store::SettingsStore& settings, const NewFeed& feed,
                                  const std::string& newsbox) {
  if (const store::AliasCheck storable = store::CheckAliasStorable(feed.alias); !storable.storable) {
    return storable.message;
  }
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  if (store::AliasExists(entries, feed.alias)) return platform::FillText(kAliasTakenText, {feed.alias});
  if (feed.url.empty()) return kNoUrlText;
  if (newsbox.empty()) return kNoNewsboxNameText;
  for (const char* reserved : kReservedMailboxes) {
    if (platform::EqualsIgnoreCase(newsbox, reserved)) return platform::FillText(kReservedNewsboxText, {newsbox});
  }
  return {};
}

// Why the address gives no feed to add, in one message.
std::string WhyNoFeed(const std::string& url, const ui::FeedLookup& found) {
  switch (found.result) {
    case ui::FeedLookupResult::kNotDownloaded:
      if (found.needsLogin) return platform::FillText(kNeedsLoginText, {url});
      return platform::FillText(kNotDownloadedText, {url, found.failure});
    case ui::FeedLookupResult::kNoFeedOnPage:
      return platform::FillText(kNoFeedOnPageText, {url});
    case ui::FeedLookupResult::kSeveralFeeds: {
      std::string text = platform::FillText(kSeveralFeedsText, {url});
      for (const feed::FeedLink& link : found.offered) {
        text += "\n  " + link.url + (link.title.empty() ? "" : "  " + link.title);
      }
      return text;
    }
    default:
      return platform::FillText(kNotAFeedText, {found.url});
  }
}

}  // namespace

int AddFeedHeadless(PluginContext& context, const NewFeed& feed, std::FILE* out) {
  if (context.settingsPath.empty()) {
    std::fprintf(out, "%s\n", kNotSetUpText);
    return kRunNotPossible;
  }
  const store::SettingsStore settings(context.settingsPath);
  const std::string wantedNewsbox = NewsboxNameFor(feed);
  // The newsbox's path and the feed's name must be values the settings file reads back whole.
  const std::string newsbox = store::FittingMailboxName(context.hostDataFolder, wantedNewsbox);
  if (std::string refusal = RefusalBeforeDownload(settings, feed, newsbox); !refusal.empty()) {
    return Refuse(out, refusal);
  }
  // As Feed Properties does: the URL must give a feed (a web page's one feed is taken), whose
  // title becomes the feed's name.
  const ui::FeedLookup found = ui::LookUpFeed(feed.url, context.scratchFeedPath);
  if (found.result != ui::FeedLookupResult::kFeed) return Refuse(out, WhyNoFeed(feed.url, found));
  const std::string title = platform::TrimWhiteSpace(found.title);
  std::string name = store::FittingName(feed.alias, title);
  if (name.empty()) name = store::FittingName(feed.alias, feed.alias);  // a feed without a name is in no list
  const std::string newsboxPath = automation::HostAutomation([](int) {}).MailboxPathCreating(newsbox);
  if (newsboxPath.empty() || newsboxPath == automation::kNoPath) {
    return Refuse(out, platform::FillText(kNoNewsboxText, {newsbox}));
  }
  const store::FeedSettings stored{
      feed.alias, name, found.url, newsbox, newsboxPath, 0, 1, 0, ui::kNewFeedIntervalMinutes, 1};
  if (const store::AliasCheck check = store::CheckFeedStorable(stored); !check.storable) {
    return Refuse(out, check.message);
  }
  // One write: the feed is there whole, its first-check limit included, or not at all.
  std::vector<platform::IniChange> changes = store::FeedChanges(stored, "");
  if (feed.firstCheckArticles > 0) {
    changes.push_back({feed.alias, store::kFirstCheckArticlesKey, std::to_string(feed.firstCheckArticles)});
  }
  if (!settings.Apply(changes)) return Refuse(out, kSettingsNotWrittenText);
  std::string added = platform::FillText(kAddedText, {feed.alias, newsbox});
  if (newsbox != wantedNewsbox || (!title.empty() && name != title)) added += kCutToFitText;
  if (found.url != feed.url) added += platform::FillText(kFoundOnPageText, {found.url});
  if (feed.firstCheckArticles > 0) {
    added += platform::FillText(kFirstCheckText, {std::to_string(feed.firstCheckArticles)});
  }
  std::fprintf(out, "%s\n", added.c_str());
  return kRunAllChecked;
}

}  // namespace tarnwick::plugin
