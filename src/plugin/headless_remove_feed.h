#pragma once

#include "plugin/plugin_context.h"

#include <cstdio>
#include <string>

namespace tarnwick::plugin {

/// Removes a feed as the main window's Delete does: its "Aliases" entry and its whole section go;
/// its newsbox, the messages in it and any document of it in the cache stay. Reports on `out`.
/// kRunAllChecked when it was removed; kRunRefused when no feed has the alias (compared without
/// regard to case) or the settings file cannot be written; kRunNotPossible when the module is not
/// set up.
int RemoveFeedHeadless(PluginContext& context, const std::string& alias, std::FILE* out);

}  // namespace tarnwick::plugin
