#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace tarnwick::plugin {

/// The process-wide record of paths and flags that start-up finds and the rest of the module
/// reads. The UI thread fills and writes it; other threads only read the paths after start-up
/// and the `mainWindowOpen` flag.
struct PluginContext {
  int16_t hostApiVersion = 0;
  std::string pluginFolder;     // the folder the host names for the module's files, no trailing slash
  std::string settingsPath;     // pluginFolder + "/tarnwick.ini"
  std::string scratchFeedPath;  // pluginFolder + "/feed.xml": feeds fetched on the UI thread
  std::string modulePath;       // pluginFolder + "/libtarnwick.so": whose version texts are read
  std::string productName;      // "ProductName" of the module's version texts
  std::string versionText;      // "Version: <major>.<minor>" of its "ProductVersion"
  std::string hostDataFolder;   // the host's mailboxes and the Feeds cache folder lie here
  std::string inMailboxPath;    // hostDataFolder + "/In.mbx"
  std::string outMailboxPath;   // hostDataFolder + "/Out.mbx"
  std::string tidyPath;         // the optional HTML-cleaning module beside this one
  bool tidyRegistered = false;  // that module was found and initialised itself
  std::string helpPath;         // the folder of the help pages
  std::atomic<bool> schedulerRunning{false};
  std::atomic<bool> mainWindowOpen{false};  // while set, the background scheduler skips its ticks
};

/// The module's one context.
PluginContext& Context();

}  // namespace tarnwick::plugin
