#pragma once

#include "opml/newsbox_maker.h"
#include "opml/opml_reader.h"
#include "store/settings_store.h"

#include <string>
#include <vector>

namespace tarnwick::opml {

/// An outline an import left out, and why.
struct SkippedEntry {
  std::string title;
  std::string url;
  std::string reason;  ///< one of the reasons of opml_texts.h
};

/// What an import did: the feeds added and the outlines skipped, in document order; or, when the
/// list could not be read at all, why (and nothing was added).
struct [[nodiscard]] ImportReport {
  bool ok = false;
  std::string error;
  std::vector<store::FeedSettings> added;  ///< as written, newsbox path included
  std::vector<SkippedEntry> skipped;
  /// Aliases of the added feeds whose alias, name or newsbox was cut to fit the settings file.
  std::vector<std::string> cut;

  /// One line per added feed and per skipped outline, then the counts; the error when not ok.
  std::string Text() const;
};

/// Adds a feed for every entry with a usable address that no listed feed has yet, with the
/// options a new feed gets in Feed Properties (only new articles, no full articles, no background
/// checks, an interval of 15 minutes). Its alias is made from the title (else the name, else the
/// address's host), storable and unique; its name is the title, else the alias; its newsbox is
/// the entry's folder, else the alias, got from `newsboxes`. Names are cut between characters to
/// what the settings file reads back whole (the newsbox's path included), and the report says so.
/// Existing feeds are never changed, and a feed that cannot be completed is taken out again.
ImportReport ImportEntries(const std::vector<OpmlEntry>& entries, const store::SettingsStore& settings,
                           NewsboxMaker& newsboxes);

/// Reads the OPML file and imports its entries; a file that cannot be read adds nothing.
ImportReport ImportOpmlFile(const std::string& opmlPath, const store::SettingsStore& settings, NewsboxMaker& newsboxes);

}  // namespace tarnwick::opml
