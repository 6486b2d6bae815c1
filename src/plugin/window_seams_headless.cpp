// The module built without windows: a host never gets them, so the module keeps its headless
// answers (one line on standard error for a message box, no key held, no Newsboard).
#include "plugin/window_seams.h"

namespace tarnwick::plugin {

bool InstallWindows(PluginContext& /*context*/) {
  return false;
}

void RemoveWindows() {}

void ShowAboutBox(const PluginContext& /*context*/) {}

}  // namespace tarnwick::plugin
