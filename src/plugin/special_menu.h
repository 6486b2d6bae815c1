#pragma once

#include "platform/ems_records.h"
#include "plugin/plugin_context.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tarnwick::plugin {

/// What the host's status bar says while Tarnwick is open.
inline constexpr char kSpecialMenuStatusText[] = "Tarnwick. For Help, press F1.";
/// The longest error text shown when the host cannot be reached.
inline constexpr size_t kMaxHostErrorTextLength = 4096;

/// How the main window runs: once in cache mode to deliver what the background scheduler
/// fetched (it closes itself), then normally until the user closes it.
enum class MainWindowMode { kCache, kNormal };

/// Runs the main window in the given mode and returns when it is closed.
using MainWindowRunner = std::function<void(PluginContext& context, MainWindowMode mode)>;
/// Tells the user why the host cannot be reached.
using HostErrorReporter = std::function<void(const std::string& errorText)>;

/// Installs the function that runs the main window and returns the one it replaced. Without one
/// (headless) the cache mode checks the cached documents with its report on standard output, and
/// the normal mode shows nothing.
MainWindowRunner SetMainWindowRunner(MainWindowRunner runner);

/// Installs the function that reports an unreachable host and returns the one it replaced.
/// Without one the error text goes to a message box captioned with the application's name.
HostErrorReporter SetHostErrorReporter(HostErrorReporter reporter);

/// True when the "Feeds" folder of `hostDataFolder`, sub-folders included, holds a "*.rss" file.
bool HasCachedFeeds(const std::string& hostDataFolder);

/// The host's Special-menu entry: runs the main window (first in cache mode when feeds wait in
/// the cache) with `mainWindowOpen` set throughout and cleared on the way out. 1 without a
/// record, 0 for an entry number other than 1 (nothing happens) and after the window closed, 8
/// when the host speaks an interface older than 4 or its automation cannot be reached (reported).
int32_t RunSpecialMenuEntry(PluginContext& context, const EmsMenu* menu);

}  // namespace tarnwick::plugin
