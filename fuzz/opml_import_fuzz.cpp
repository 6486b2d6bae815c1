// Imports arbitrary bytes as an OPML feed list into an empty settings file, with newsboxes made in
// a data folder. Every feed the report gives as added must be listed afterwards exactly as
// reported, with names in valid UTF-8 that the settings file reads back whole.

#include "opml/newsbox_maker.h"
#include "opml/opml_import.h"
#include "store/listed_feeds.h"
#include "store/settings_store.h"

#include "fuzz_folder.h"
#include "utf8_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void Fail(const std::string& what) {
  std::fprintf(stderr, "OPML import: %s\n", what.c_str());
  std::abort();
}

void CheckAdded(const tarnwick::store::FeedSettings& feed) {
  for (const std::string* text : {&feed.alias, &feed.name, &feed.newsbox, &feed.newsboxPath}) {
    if (!tarnwick::fuzz::IsValidUtf8(*text)) Fail("not valid UTF-8: " + *text);
    if (text->size() > tarnwick::store::SettingsStore::kMaxTextLength) Fail("too long to read back: " + *text);
  }
  if (feed.name.empty()) Fail("the feed " + feed.alias + " has no name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dataFolder = tarnwick::fuzz::FuzzFolder() + "/data";
  std::error_code ignored;
  std::filesystem::remove_all(dataFolder, ignored);
  std::filesystem::create_directory(dataFolder, ignored);
  const tarnwick::store::SettingsStore settings(dataFolder + "/tarnwick.ini");
  tarnwick::opml::DataFolderNewsboxMaker newsboxes(dataFolder);

  const tarnwick::opml::OpmlReadResult read =
      tarnwick::opml::ReadOpml(std::string(reinterpret_cast<const char*>(data), size));
  if (!read.ok) return 0;
  const tarnwick::opml::ImportReport report = tarnwick::opml::ImportEntries(read.entries, settings, newsboxes);
  const std::vector<tarnwick::store::FeedSettings> listed = tarnwick::store::ListedFeeds(settings);
  if (listed != report.added) {
    Fail(std::to_string(report.added.size()) + " feeds reported as added, " + std::to_string(listed.size()) +
         " listed the same: " + report.Text());
  }
  for (const tarnwick::store::FeedSettings& feed : report.added) CheckAdded(feed);
  if (!tarnwick::fuzz::IsValidUtf8(report.Text())) Fail("the report is not valid UTF-8");
  return 0;
}
