#pragma once

#include "platform/ini_file.h"
#include "store/feed_settings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::store {

/// Receives the feeds that LoadFeedList reads, in the order of the "Aliases" section.
class FeedListSink {
public:
  virtual ~FeedListSink() = default;
  /// One usable feed.
  virtual void AddFeed(const FeedSettings& feed) = 0;
  /// The newsbox of the feed just added; the sink keeps each newsbox once.
  virtual void AddNewsbox(const std::string& newsboxPath, const std::string& newsboxName) = 0;
};

/// Whether an alias (or a whole feed) can be saved, and if not, why, in words for the user.
struct [[nodiscard]] AliasCheck {
  bool storable = false;
  std::string message;  ///< one of the texts of store_texts.h; empty when storable
};

/// The settings file: the feed list, one section per feed, window placement and columns.
/// It keeps no copy of the file: every call reads or writes the file at that moment, so what
/// one thread writes the next read anywhere sees. Safe to call from any thread; every call,
/// multi-key ones (WriteFeed, RemoveFeed, RewriteSections) included, is one write of the file,
/// made whole or not at all.
class SettingsStore {
public:
  /// Longest text a read returns; longer values come back cut.
  static constexpr size_t kMaxTextLength = 254;
  /// Longest entry of a section read; longer entries come back cut.
  static constexpr size_t kMaxEntryLength = 99;

  explicit SettingsStore(std::string settingsPath) : path_(std::move(settingsPath)) {}

  const std::string& Path() const { return path_; }

  /// The key's value cut to kMaxTextLength, or the default (cut alike) when absent.
  /// A key present with an empty value reads as empty.
  std::string ReadText(const std::string& section, const std::string& key, const std::string& defaultText) const;
  /// The key's value read as a decimal integer (leading blanks, sign, digits up to the first other
  /// character; 0 when it does not start with a number), or the default when absent.
  int32_t ReadInt(const std::string& section, const std::string& key, int32_t defaultValue) const;
  /// Appends the section's "key=value" entries in file order; lines without "=" are skipped.
  /// Always true; an absent section adds nothing.
  bool ReadSectionEntries(std::vector<std::string>& entries, const std::string& section) const;

  /// The write primitives report whether the file was written; most callers may ignore it.
  /// WriteText refuses (writes nothing, returns false) a value that ReadText could not give back
  /// whole: one longer than kMaxTextLength or holding a zero byte.
  bool WriteText(const std::string& section, const std::string& key, const std::string& value) const;
  bool WriteInt(const std::string& section, const std::string& key, int32_t value) const;
  bool DeleteKey(const std::string& section, const std::string& key) const;
  bool DeleteSection(const std::string& section) const;
  /// Makes the changes in one write of the file (see IniFile::Apply); writes nothing when a value
  /// is one WriteText would refuse.
  bool Apply(const std::vector<platform::IniChange>& changes) const;
  /// Removes the sections whole, then makes the changes, in one write (see IniFile::RewriteSections);
  /// writes nothing when a value is one WriteText would refuse.
  bool RewriteSections(const std::vector<std::string>& sections, const std::vector<platform::IniChange>& changes) const;

  /// Hands every usable feed of "Aliases" to the sink, in file order: entries with an empty
  /// alias, an empty name or no URL are left out. Always true.
  bool LoadFeedList(FeedListSink& sink) const;
  /// The feed's section as a cache run reads it: no AutoCheck or interval, no newsbox default.
  FeedSettings LoadFeedByAlias(const std::string& alias) const;
  /// Writes the "Aliases" entry and the feed's nine keys (FeedChanges) in one write. Writes
  /// nothing and returns false for a feed that CheckFeedStorable refuses or a `lastArticle` that
  /// WriteText would refuse.
  bool WriteFeed(const FeedSettings& feed, const std::string& lastArticle) const;
  /// Deletes the feed's "Aliases" entry and its whole section; its files stay.
  bool RemoveFeed(const std::string& alias) const;

private:
  std::string path_;
};

/// Whether the alias reads back as itself both as a key of "Aliases" and as the name of its
/// section: it must not be empty, hold a control character, "=", "[" or "]", begin with ";" or
/// begin or end with a blank. Check it before an old feed is removed to make way for the new one.
AliasCheck CheckAliasStorable(std::string_view alias);

/// Whether the feed reads back as written: its alias passes CheckAliasStorable, its "Aliases"
/// entry "alias=name" is no longer than SettingsStore::kMaxEntryLength, and its name, URL and
/// newsbox name and path are values WriteText takes.
AliasCheck CheckFeedStorable(const FeedSettings& feed);

/// The changes that write the feed's "Aliases" entry and its nine keys, in that order.
std::vector<platform::IniChange> FeedChanges(const FeedSettings& feed, const std::string& lastArticle);

/// True when one of the "alias=name" entries has the alias, compared without regard to case.
bool AliasExists(const std::vector<std::string>& entries, std::string_view alias);

}  // namespace tarnwick::store
