#pragma once

#include "plugin/plugin_context.h"
#include "store/feed_settings.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarnwick::plugin {

/// Exit codes of the headless runs.
inline constexpr int kRunAllChecked = 0;
inline constexpr int kRunSomeFailed = 1;
inline constexpr int kRunNotPossible = 2;
/// An addition or removal that the input does not allow: nothing was changed.
inline constexpr int kRunRefused = 1;

/// Where a headless check reports, and how much.
struct CheckOutput {
  std::FILE* out = stdout;
  std::FILE* problems = stdout;  ///< failed feeds and why nothing could be checked
  /// Only the failed feeds (a failing one once a day), and the count of new articles on `out`.
  bool quiet = false;
};

/// Checks the named feeds (all listed feeds when none is named) as the main window's Download
/// does: kRunAllChecked when every feed was checked and delivered, kRunSomeFailed otherwise,
/// kRunNotPossible when a name is unknown or the module is not set up.
int RunChecksHeadless(PluginContext& context, const std::vector<std::string>& aliases, const CheckOutput& output);

/// The usable feeds of the settings file as the main window lists them: sorted by alias without
/// regard to case.
std::vector<store::FeedSettings> ListedFeeds(const std::string& settingsPath);

/// Runs one background tick now, waits for its downloads, then checks the cached documents as
/// opening the program after background fetching does. Exit codes as RunChecksHeadless.
int RunTickHeadless(PluginContext& context, std::FILE* out);

/// Checks every document the background scheduler left in the cache, as the main window does in
/// its cache mode, reporting on `out`, with `mainWindowOpen` set meanwhile (and afterwards as it
/// was before). Exit codes as RunChecksHeadless.
int RunCacheCheckHeadless(PluginContext& context, std::FILE* out);

}  // namespace tarnwick::plugin
