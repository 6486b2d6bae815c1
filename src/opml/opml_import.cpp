#include "opml/opml_import.h"

#include "opml/feed_alias.h"
#include "store/listed_feeds.h"
#include "opml/opml_texts.h"
#include "platform/text.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"

#include <algorithm>
#include <map>

namespace tarnwick::opml {
namespace {

// What a new feed gets in Feed Properties when the user changes no option.
constexpr int32_t kNewFeedIntervalMinutes = 15;
// Mailboxes that a feed may not deliver into: the staging mailbox and the outgoing one.
constexpr const char* kReservedMailboxes[] = {"Pending", "Out"};
constexpr char kMailboxExtension[] = ".mbx";

// The mailbox's display name: its file name without the folder and ".mbx".
std::string MailboxNameOf(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  if (name.size() > sizeof kMailboxExtension - 1 && name.ends_with(kMailboxExtension)) {
    name.resize(name.size() - (sizeof kMailboxExtension - 1));
  }
  return name;
}

// " (address)" after a title in the report; nothing when there is no address.
std::string AddressText(const std::string& url) {
  return url.empty() ? std::string() : kAddressOpen + url + kAddressClose;
}

bool IsReservedMailbox(const std::string& name) {
  const std::string fileName = platform::TrimWhiteSpace(store::SafeFileName(name));
  return std::any_of(std::begin(kReservedMailboxes), std::end(kReservedMailboxes),
                     [&](const char* reserved) { return platform::EqualsIgnoreCase(fileName, reserved); });
}

// One import: the feeds listed so far, the aliases of "Aliases" and the mailboxes already had.
class Importer {
public:
  Importer(const store::SettingsStore& settings, NewsboxMaker& newsboxes)
      : settings_(settings), newsboxes_(newsboxes), feeds_(store::ListedFeeds(settings)) {
    ReadAliases();
  }

  // Empty when the entry was added; otherwise why not.
  std::string Import(const OpmlEntry& entry, store::FeedSettings& added) {
    if (entry.url.empty()) return kNoAddressReason;
    if (entry.url.size() > store::SettingsStore::kMaxTextLength) return kAddressTooLongReason;
    if (std::any_of(entry.url.begin(), entry.url.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; })) {
      return kAddressWithBlanksReason;
    }
    for (const store::FeedSettings& feed : feeds_) {
      if (feed.url == entry.url) return kDuplicateAddressPrefix + feed.alias + kDuplicateAddressSuffix;
    }
    const std::string storable = StorableAlias(entry.title);
    if (storable.empty()) return kNoAliasReason;
    const std::string alias = UniqueAlias(storable, aliases_);
    if (alias.empty()) return kNoUniqueAliasReason;
    const std::string newsbox = entry.folder.empty() ? alias : entry.folder;
    if (IsReservedMailbox(newsbox)) return kReservedNewsboxPrefix + newsbox + kReservedNewsboxSuffix;

    store::FeedSettings feed;
    feed.alias = alias;
    feed.name = FittingName(alias, entry.name);
    feed.url = entry.url;
    feed.newsbox = newsbox;
    feed.downloadReferringArticles = 0;
    feed.downloadOnlyNewArticles = 1;
    feed.autoCheck = 0;
    feed.intervalMinutes = kNewFeedIntervalMinutes;
    feed.notifyNewsBoard = 1;
    std::string reason = Store(feed);
    if (!reason.empty()) return reason;
    feeds_.push_back(feed);
    added = std::move(feed);
    return {};
  }

private:
  void ReadAliases() {
    aliases_.clear();
    settings_.ReadSectionEntries(aliases_, store::kAliasesSection);
  }

  // Writes the feed, then gives it its mailbox; a feed the list does not show, or that gets no
  // mailbox, is taken out again, so that nothing half made stays behind.
  std::string Store(store::FeedSettings& feed) {
    const bool written = settings_.WriteFeed(feed, "");
    ReadAliases();
    if (!written) return TakeOut(feed.alias, kNotWrittenReason);
    if (!store::AliasExists(aliases_, feed.alias)) return TakeOut(feed.alias, kListFullReason);
    feed.newsboxPath = NewsboxPath(feed.newsbox);
    if (feed.newsboxPath.empty()) return TakeOut(feed.alias, kNoNewsboxPrefix + feed.newsbox + kNoNewsboxSuffix);
    feed.newsbox = MailboxNameOf(feed.newsboxPath);
    if (!settings_.WriteText(feed.alias, store::kNewsboxKey, feed.newsbox) ||
        !settings_.WriteText(feed.alias, store::kNewsboxPathKey, feed.newsboxPath)) {
      return TakeOut(feed.alias, kNotWrittenReason);
    }
    return {};
  }

  std::string TakeOut(const std::string& alias, std::string reason) {
    (void)settings_.RemoveFeed(alias);
    ReadAliases();
    return reason;
  }

  // Each mailbox is asked for once per import, whatever the answer.
  std::string NewsboxPath(const std::string& name) {
    auto known = mailboxes_.find(name);
    if (known == mailboxes_.end()) known = mailboxes_.emplace(name, newsboxes_.MailboxPath(name)).first;
    return known->second;
  }

  const store::SettingsStore& settings_;
  NewsboxMaker& newsboxes_;
  std::vector<store::FeedSettings> feeds_;
  std::vector<std::string> aliases_;
  std::map<std::string, std::string> mailboxes_;
};

}  // namespace

std::string ImportReport::Text() const {
  if (!ok) return error;
  std::string text;
  for (const store::FeedSettings& feed : added) {
    text += kAddedPrefix + feed.alias + kTitleEnd + AddressText(feed.url) + kAddedNewsboxInfix + feed.newsbox +
            kAddedNewsboxSuffix + kLineEnd;
  }
  for (const SkippedEntry& entry : skipped) {
    text += kSkippedPrefix + (entry.title.empty() ? std::string(kUntitled) : entry.title) + kTitleEnd +
            AddressText(entry.url) + kReasonInfix + entry.reason + kLineEnd;
  }
  return text + std::to_string(added.size()) + kAddedCountSuffix + std::to_string(skipped.size()) + kSkippedCountSuffix;
}

ImportReport ImportEntries(const std::vector<OpmlEntry>& entries, const store::SettingsStore& settings,
                           NewsboxMaker& newsboxes) {
  ImportReport report;
  report.ok = true;
  Importer importer(settings, newsboxes);
  for (const OpmlEntry& entry : entries) {
    store::FeedSettings added;
    std::string reason = importer.Import(entry, added);
    if (reason.empty()) {
      report.added.push_back(std::move(added));
    } else {
      report.skipped.push_back({entry.title, entry.url, std::move(reason)});
    }
  }
  return report;
}

ImportReport ImportOpmlFile(const std::string& opmlPath, const store::SettingsStore& settings,
                            NewsboxMaker& newsboxes) {
  OpmlReadResult read = ReadOpmlFile(opmlPath);
  if (!read.ok) {
    ImportReport report;
    report.error = std::move(read.error);
    return report;
  }
  return ImportEntries(read.entries, settings, newsboxes);
}

}  // namespace tarnwick::opml
