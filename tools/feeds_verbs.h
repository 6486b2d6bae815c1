#pragma once

#include <string>

namespace tarnwick::tools {

// Exit statuses of tarnwick-feeds.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;

/// Prints every feed that the settings file lists, with its options and last article.
int ListFeeds(const std::string& settingsPath);
/// Imports the OPML file, making newsboxes in `dataFolder`, and prints what it added and skipped.
/// kFailed (nothing added) when the file cannot be read as OPML.
int ImportFeeds(const std::string& settingsPath, const std::string& dataFolder, const std::string& opmlPath);
/// Writes the listed feeds as OPML to `outPath`, or to standard output when it is empty.
int ExportFeeds(const std::string& settingsPath, const std::string& outPath);

}  // namespace tarnwick::tools
