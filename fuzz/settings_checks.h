#pragma once

// What must hold for the settings store on top of any settings file: the cuts of its reads, the
// limits of a section read, the feed list, and a feed written and removed again. Shared by the
// fuzz target and by the unit test that replays the saved corpus.

#include <string>
#include <vector>

#include "ini_checks.h"
#include "platform/file_io.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

namespace tarnwick::fuzz {

/// Records what LoadFeedList hands over.
class RecordingFeedSink : public store::FeedListSink {
public:
  void AddFeed(const store::FeedSettings& feed) override { feeds.push_back(feed); }
  void AddNewsbox(const std::string& path, const std::string& name) override { newsboxes.push_back(path + "|" + name); }
  std::vector<store::FeedSettings> feeds;
  std::vector<std::string> newsboxes;
};

/// The section read through the store holds every entry of the section, each cut to its limit.
inline std::string CheckSectionEntries(const std::string& path, const std::string& section) {
  using store::SettingsStore;
  std::vector<std::string> entries{"kept"};
  SettingsStore(path).ReadSectionEntries(entries, section);
  if (entries.empty() || entries.front() != "kept") return "ReadSectionEntries dropped what the list held";
  entries.erase(entries.begin());
  size_t taken = 0;
  for (const std::string& line : platform::IniFile(path).ReadSection(section)) {
    std::string text = line.substr(0, line.find('\0'));
    if (text.find('=') == std::string::npos) continue;
    if (taken == entries.size()) return "[" + section + "] " + text + " was not read";
    if (entries[taken].size() > SettingsStore::kMaxEntryLength ||
        text.compare(0, entries[taken].size(), entries[taken]) != 0) {
      return "[" + section + "] entry " + std::to_string(taken) + " is not its line cut to length";
    }
    ++taken;
  }
  return taken == entries.size() ? std::string() : "[" + section + "] read more entries than it has";
}

/// Texts come back cut to their limit and without zero bytes; the feed list holds only usable feeds.
inline std::string CheckStoreReads(const std::string& path, const std::vector<std::string>& sections) {
  const store::SettingsStore settings(path);
  const std::string longDefault(300, 'd');
  for (const std::string& section : sections) {
    if (settings.ReadText(section, "\x02 no such key", longDefault) != longDefault.substr(0, 254)) {
      return "the default of an absent key is not cut to 254 characters";
    }
    for (const std::string& entry : platform::IniFile(path).ReadSection(section)) {
      std::optional<std::string> key = KeyOf(entry);
      if (!key || key->find('\r') != std::string::npos) continue;
      std::string text = settings.ReadText(section, *key, "");
      std::optional<std::string> raw = platform::IniFile(path).Read(section, *key);
      if (text.size() > store::SettingsStore::kMaxTextLength || text.find('\0') != std::string::npos || !raw ||
          raw->compare(0, text.size(), text) != 0) {
        return "[" + section + "] " + *key + " reads through the store as something else";
      }
      break;
    }
    std::string problem = CheckSectionEntries(path, section);
    if (!problem.empty()) return problem;
  }
  RecordingFeedSink sink;
  settings.LoadFeedList(sink);
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, store::kAliasesSection);
  size_t next = 0;
  for (const store::FeedSettings& feed : sink.feeds) {
    while (next < entries.size() && entries[next] != feed.alias + "=" + feed.name) ++next;
    if (next++ == entries.size()) return "feed " + feed.alias + " is not an entry of the feed list, in order";
    if (feed.alias.empty() || feed.name.empty() || feed.url.empty()) return "feed " + feed.alias + " is not usable";
    if (feed.url != settings.ReadText(feed.alias, store::kUrlKey, "x"))
      return "feed " + feed.alias + " has another URL";
  }
  return sink.newsboxes.size() == sink.feeds.size() ? std::string() : "a feed came without its newsbox";
}

/// A text made fit to be an alias: control characters, "=", "[" and "]" dropped, then blanks and
/// ";" at its start and blanks at its end.
inline std::string UsableAlias(const std::string& text) {
  std::string alias;
  for (char c : text.substr(0, 60)) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f && c != '=' && c != '[' && c != ']') alias += c;
  }
  const size_t first = alias.find_first_not_of(" ;");
  if (first == std::string::npos) return "Fuzz Feed";
  return alias.substr(first, alias.find_last_not_of(' ') - first + 1);
}

/// An alias that the store refuses leaves the file as it was.
inline std::string CheckRefusedAlias(const std::string& path, const std::string& alias) {
  if (store::CheckAliasStorable(alias).storable) return {};
  std::string before;
  std::string after;
  platform::ReadFileIfPresent(path, before);
  store::FeedSettings feed;
  feed.alias = alias;
  feed.name = "Refused";
  feed.url = "http://127.0.0.1/refused";
  if (store::SettingsStore(path).WriteFeed(feed, "")) return "the unstorable alias " + alias + " was written";
  platform::ReadFileIfPresent(path, after);
  return before == after ? std::string() : "refusing the alias " + alias + " changed the file";
}

/// A feed written from the value reads back as written (trimmed) and is gone after its removal; a
/// feed that would not read back whole is refused and leaves the file as it was.
inline std::string CheckFeedRoundTrip(const std::string& path, const std::string& value) {
  const store::SettingsStore settings(path);
  if (std::string problem = CheckRefusedAlias(path, value); !problem.empty()) return problem;
  store::FeedSettings feed;
  feed.alias = UsableAlias(value);
  feed.name = value;
  feed.url = "http://127.0.0.1/" + value;
  feed.newsbox = value + value;
  feed.newsboxPath = "/data/" + value;
  feed.downloadReferringArticles = static_cast<int32_t>(value.size());
  const bool storable = store::CheckFeedStorable(feed).storable &&
                        value.size() <= store::SettingsStore::kMaxTextLength && value.find('\0') == std::string::npos;
  if (!storable) {
    std::string before;
    std::string after;
    platform::ReadFileIfPresent(path, before);
    if (settings.WriteFeed(feed, value)) return "feed " + feed.alias + " was written though it cannot read back whole";
    platform::ReadFileIfPresent(path, after);
    return before == after ? std::string() : "refusing feed " + feed.alias + " changed the file";
  }
  if (!settings.WriteFeed(feed, value)) return "writing feed " + feed.alias + " failed";
  store::FeedSettings loaded = settings.LoadFeedByAlias(feed.alias);
  if (loaded.name != ValueAsRead(feed.name) || loaded.url != ValueAsRead(feed.url) ||
      loaded.newsbox != ValueAsRead(feed.newsbox) || loaded.newsboxPath != ValueAsRead(feed.newsboxPath) ||
      loaded.downloadReferringArticles != feed.downloadReferringArticles ||
      settings.ReadText(feed.alias, store::kLastArticleKey, "x") != ValueAsRead(value)) {
    return "feed " + feed.alias + " does not read back as written";
  }
  if (!settings.RemoveFeed(feed.alias)) return "removing feed " + feed.alias + " failed";
  RecordingFeedSink sink;
  settings.LoadFeedList(sink);
  for (const store::FeedSettings& listed : sink.feeds) {
    if (platform::EqualsIgnoreCase(listed.alias, feed.alias))
      return "feed " + feed.alias + " is listed after its removal";
  }
  return settings.LoadFeedByAlias(feed.alias).url.empty() ? std::string() : "feed " + feed.alias + " kept its URL";
}

/// The whole check of one input: the engine, then the store on the same file.
inline std::string CheckSettingsInput(const IniFuzzInput& input, const std::string& path) {
  std::string problem = CheckIniInput(input, path);
  if (!problem.empty()) return problem;
  if (!WriteWholeFile(path, input.fileText)) return "cannot write " + path;
  problem = CheckStoreReads(path, SectionNamesOf(input.fileText));
  if (!problem.empty()) return problem;
  return CheckFeedRoundTrip(path, input.value);
}

}  // namespace tarnwick::fuzz
