#include "store/settings_store.h"

#include "platform/ini_file.h"
#include "platform/text.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/store_texts.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace tarnwick::store {
namespace {

std::string CutToLength(std::string text, size_t length) {
  if (text.size() > length) text.resize(length);
  return text;
}

// Reads a text the way a C string buffer would hold it: up to its first zero byte.
std::string AsCString(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

// Leading blanks, an optional sign, then digits up to the first other character; 0 otherwise.
int32_t LeadingInteger(const std::string& text) {
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// Splits "alias=name" at its first "="; false when there is no "=".
bool SplitEntry(std::string_view entry, std::string_view& alias, std::string_view& name) {
  size_t equals = entry.find('=');
  if (equals == std::string_view::npos) return false;
  alias = entry.substr(0, equals);
  name = entry.substr(equals + 1);
  return true;
}

// What ReadText gives back whole: a value within its length, without a zero byte to cut it.
bool ReadsBackWhole(const std::string& value) {
  return value.size() <= SettingsStore::kMaxTextLength && value.find('\0') == std::string::npos;
}

// A batch of writes is refused whole, as WriteText refuses one value, when a value would not read back.
bool AllReadBackWhole(const std::vector<platform::IniChange>& changes) {
  return std::all_of(changes.begin(), changes.end(),
                     [](const platform::IniChange& change) { return !change.value || ReadsBackWhole(*change.value); });
}

bool IsControlCharacter(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

}  // namespace

AliasCheck CheckAliasStorable(std::string_view alias) {
  // Each rule keeps the alias from turning into something else in the file: "=" would end the key,
  // "[" and "]" could make a header of it, ";" a comment; a line break would split the line, a zero
  // byte cut it, and blanks around names are never read.
  if (alias.empty()) return {false, kAliasEmptyText};
  for (char c : alias) {
    if (IsControlCharacter(c)) return {false, kAliasControlCharacterText};
  }
  if (alias.find_first_of("=[]") != std::string_view::npos) return {false, kAliasReservedCharacterText};
  if (alias.front() == ';') return {false, kAliasCommentMarkText};
  if (alias.front() == ' ' || alias.back() == ' ') return {false, kAliasOuterBlankText};
  return {true, {}};
}

AliasCheck CheckFeedStorable(const FeedSettings& feed) {
  AliasCheck check = CheckAliasStorable(feed.alias);
  if (!check.storable) return check;
  // An alias that leaves no room for a name is refused too: a feed without a name is in no list.
  if (feed.alias.size() + 1 + std::max<size_t>(feed.name.size(), 1) > SettingsStore::kMaxEntryLength) {
    return {false, kFeedNameTooLongText};
  }
  for (const std::string* value : {&feed.name, &feed.url, &feed.newsbox, &feed.newsboxPath}) {
    if (!ReadsBackWhole(*value)) return {false, kFeedValueTooLongText};
  }
  return {true, {}};
}

std::string SettingsStore::ReadText(const std::string& section, const std::string& key,
                                    const std::string& defaultText) const {
  auto value = platform::IniFile(path_).Read(section, key);
  return CutToLength(AsCString(value ? *value : defaultText), kMaxTextLength);
}

int32_t SettingsStore::ReadInt(const std::string& section, const std::string& key, int32_t defaultValue) const {
  return LeadingInteger(ReadText(section, key, std::to_string(defaultValue)));
}

bool SettingsStore::ReadSectionEntries(std::vector<std::string>& entries, const std::string& section) const {
  // Every entry is seen, however long the section: a feed list cut at some byte count would leave
  // the feeds beyond it unlisted, unchecked and open to being overwritten by a new feed's alias.
  for (const std::string& line : platform::IniFile(path_).ReadSection(section)) {
    std::string text = AsCString(line);
    if (text.find('=') == std::string::npos) continue;
    entries.push_back(CutToLength(std::move(text), kMaxEntryLength));
  }
  return true;
}

bool SettingsStore::WriteText(const std::string& section, const std::string& key, const std::string& value) const {
  return ReadsBackWhole(value) && platform::IniFile(path_).Write(section, key, value);
}

bool SettingsStore::WriteInt(const std::string& section, const std::string& key, int32_t value) const {
  return WriteText(section, key, std::to_string(value));
}

bool SettingsStore::DeleteKey(const std::string& section, const std::string& key) const {
  return platform::IniFile(path_).DeleteKey(section, key);
}

bool SettingsStore::Apply(const std::vector<platform::IniChange>& changes) const {
  return AllReadBackWhole(changes) && platform::IniFile(path_).Apply(changes);
}

bool SettingsStore::DeleteSection(const std::string& section) const {
  return platform::IniFile(path_).DeleteSection(section);
}

bool SettingsStore::RewriteSections(const std::vector<std::string>& sections,
                                    const std::vector<platform::IniChange>& changes) const {
  return AllReadBackWhole(changes) && platform::IniFile(path_).RewriteSections(sections, changes);
}

bool SettingsStore::LoadFeedList(FeedListSink& sink) const {
  std::vector<std::string> entries;
  ReadSectionEntries(entries, kAliasesSection);
  for (const std::string& entry : entries) {
    std::string_view alias;
    std::string_view name;
    if (!SplitEntry(entry, alias, name) || alias.empty() || name.empty()) continue;
    FeedSettings feed;
    feed.alias = alias;
    feed.name = name;
    feed.url = ReadText(feed.alias, kUrlKey, "");
    if (feed.url.empty()) continue;
    feed.newsbox = ReadText(feed.alias, kNewsboxKey, SafeFileName(feed.alias));
    feed.newsboxPath = ReadText(feed.alias, kNewsboxPathKey, "");
    feed.downloadReferringArticles = ReadInt(feed.alias, kDownloadReferringArticlesKey, 0);
    feed.downloadOnlyNewArticles = ReadInt(feed.alias, kDownloadOnlyNewArticlesKey, 1);
    feed.autoCheck = ReadInt(feed.alias, kAutoCheckKey, 0);
    feed.intervalMinutes = ReadInt(feed.alias, kIntervalMinutesKey, 0);
    feed.notifyNewsBoard = ReadInt(feed.alias, kNotifyNewsBoardKey, 1);
    sink.AddFeed(feed);
    sink.AddNewsbox(feed.newsboxPath, feed.newsbox);
  }
  return true;
}

FeedSettings SettingsStore::LoadFeedByAlias(const std::string& alias) const {
  FeedSettings feed;
  feed.alias = alias;
  feed.name = ReadText(alias, kNameKey, "");
  feed.url = ReadText(alias, kUrlKey, "");
  feed.newsbox = ReadText(alias, kNewsboxKey, "");
  feed.newsboxPath = ReadText(alias, kNewsboxPathKey, "");
  feed.downloadReferringArticles = ReadInt(alias, kDownloadReferringArticlesKey, 0);
  feed.downloadOnlyNewArticles = ReadInt(alias, kDownloadOnlyNewArticlesKey, 1);
  feed.notifyNewsBoard = ReadInt(alias, kNotifyNewsBoardKey, 1);
  feed.autoCheck = 0;
  feed.intervalMinutes = 0;
  return feed;
}

std::vector<platform::IniChange> FeedChanges(const FeedSettings& feed, const std::string& lastArticle) {
  const std::string& section = feed.alias;
  return {
      {kAliasesSection, feed.alias, feed.name},
      {section, kNameKey, feed.name},
      {section, kUrlKey, feed.url},
      {section, kNewsboxKey, feed.newsbox},
      {section, kNewsboxPathKey, feed.newsboxPath},
      {section, kDownloadReferringArticlesKey, std::to_string(feed.downloadReferringArticles)},
      {section, kDownloadOnlyNewArticlesKey, std::to_string(feed.downloadOnlyNewArticles)},
      {section, kLastArticleKey, lastArticle},
      {section, kAutoCheckKey, std::to_string(feed.autoCheck)},
      {section, kIntervalMinutesKey, std::to_string(feed.intervalMinutes)},
  };
}

bool SettingsStore::WriteFeed(const FeedSettings& feed, const std::string& lastArticle) const {
  if (!CheckFeedStorable(feed).storable || !ReadsBackWhole(lastArticle)) return false;
  return Apply(FeedChanges(feed, lastArticle));
}

bool SettingsStore::RemoveFeed(const std::string& alias) const {
  return RewriteSections({alias}, {{kAliasesSection, alias, std::nullopt}});
}

bool AliasExists(const std::vector<std::string>& entries, std::string_view alias) {
  for (const std::string& entry : entries) {
    std::string_view entryAlias;
    std::string_view name;
    if (SplitEntry(entry, entryAlias, name) && platform::EqualsIgnoreCase(entryAlias, alias)) return true;
  }
  return false;
}

}  // namespace tarnwick::store
