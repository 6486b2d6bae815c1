// tarnwick-feeds import and export: the feed list to and from OPML.
#include "feeds_verbs.h"
#include "store/listed_feeds.h"
#include "opml/newsbox_maker.h"
#include "opml/opml_import.h"
#include "opml/opml_writer.h"

#include <cstdio>

namespace tarnwick::tools {

int ImportFeeds(const std::string& settingsPath, const std::string& dataFolder, const std::string& opmlPath) {
  const store::SettingsStore settings(settingsPath);
  opml::DataFolderNewsboxMaker newsboxes(dataFolder);
  const opml::ImportReport report = opml::ImportOpmlFile(opmlPath, settings, newsboxes);
  std::FILE* out = report.ok ? stdout : stderr;
  std::fprintf(out, "%s\n", report.Text().c_str());
  return report.ok ? kDone : kFailed;
}

int ExportFeeds(const std::string& settingsPath, const std::string& outPath) {
  const store::SettingsStore settings(settingsPath);
  if (outPath.empty()) {
    const std::string text = opml::WriteOpml(store::ListedFeeds(settings));
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? kDone : kFailed;
  }
  const std::string problem = opml::ExportOpmlFile(settings, outPath);
  if (problem.empty()) return kDone;
  std::fprintf(stderr, "%s\n", problem.c_str());
  return kFailed;
}

}  // namespace tarnwick::tools
