#include "opml/opml_import.h"

#include "opml/feed_alias.h"
#include "opml/opml_texts.h"
#include "platform/text.h"
#include "store/file_utilities.h"
#include "store/fitting_text.h"
#include "store/listed_feeds.h"
#include "store/settings_keys.h"

#include <algorithm>
#include <initializer_list>
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

// The host of an address ("http://user@Host:8080/x" gives "Host"); empty when there is none.
std::string HostOf(const std::string& url) {
  const size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string::npos) return {};
  std::string authority = url.substr(schemeEnd + 3, url.find_first_of("/?#", schemeEnd + 3) - schemeEnd - 3);
  authority.erase(0, authority.rfind('@') + 1);
  return authority.substr(0, authority.starts_with('[') ? authority.find(']') + 1 : authority.find(':'));
}

// The first of the texts that gives a storable alias; empty when none does.
std::string FirstWithAlias(std::initializer_list<std::string> texts) {
  for (const std::string& text : texts) {
    if (!StorableAlias(text).empty()) return text;
  }
  return {};
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

  // Empty when the entry was added; otherwise why not. `cut` tells whether a name made from the
  // entry's text had to be cut to fit the settings file.
  std::string Import(const OpmlEntry& entry, store::FeedSettings& added, bool& cut) {
    if (entry.url.empty()) return kNoAddressReason;
    if (entry.url.size() > store::SettingsStore::kMaxTextLength) return kAddressTooLongReason;
    if (std::any_of(entry.url.begin(), entry.url.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; })) {
      return kAddressWithBlanksReason;
    }
    for (const store::FeedSettings& feed : feeds_) {
      if (feed.url == entry.url) return kDuplicateAddressPrefix + feed.alias + kDuplicateAddressSuffix;
    }
    // A title that cleans up to nothing leaves the name, then the address's host, to name the feed.
    const std::string source = FirstWithAlias({entry.title, entry.name, HostOf(entry.url)});
    const std::string storable = StorableAlias(source);
    if (storable.empty()) return kNoAliasReason;
    const std::string alias = UniqueAlias(storable, aliases_);
    if (alias.empty()) return kNoUniqueAliasReason;
    const std::string newsbox = entry.folder.empty() ? alias : entry.folder;
    if (IsReservedMailbox(newsbox)) return kReservedNewsboxPrefix + newsbox + kReservedNewsboxSuffix;

    store::FeedSettings feed;
    feed.alias = alias;
    feed.name = store::FittingName(alias, entry.name);
    if (feed.name.empty()) feed.name = alias;  // a feed without a name is in no list
    feed.url = entry.url;
    feed.newsbox = store::FittingMailboxName(newsboxes_.DataFolder(), newsbox);
    feed.downloadReferringArticles = 0;
    feed.downloadOnlyNewArticles = 1;
    feed.autoCheck = 0;
    feed.intervalMinutes = kNewFeedIntervalMinutes;
    feed.notifyNewsBoard = 1;
    cut = StorableAlias(source, std::string::npos) != storable || (!entry.name.empty() && feed.name != entry.name) ||
          feed.newsbox != newsbox;
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

  // Writes the feed, then gives it its mailbox; a feed that gets no mailbox is taken out again, so
  // that nothing half made stays behind.
  std::string Store(store::FeedSettings& feed) {
    const bool written = settings_.WriteFeed(feed, "");
    ReadAliases();
    if (!written) return TakeOut(feed.alias, kNotWrittenReason);
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
    const bool cutToFit = std::find(cut.begin(), cut.end(), feed.alias) != cut.end();
    text += kAddedPrefix + feed.alias + kTitleEnd + AddressText(feed.url) + kAddedNewsboxInfix + feed.newsbox +
            kAddedNewsboxSuffix + (cutToFit ? kCutToFitText : "") + kLineEnd;
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
    bool cut = false;
    std::string reason = importer.Import(entry, added, cut);
    if (reason.empty()) {
      if (cut) report.cut.push_back(added.alias);
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
