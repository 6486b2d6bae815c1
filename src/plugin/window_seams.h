#pragma once

#include "plugin/plugin_context.h"

namespace tarnwick::plugin {

/// When the module runs inside an application that makes windows on a display: makes the windows
/// answer for the module (the main window from the Special menu with its run report afterwards,
/// the information dialog for an unreachable host, message boxes, the keyboard) and creates the
/// Newsboard hidden. A host without windows keeps the module's headless answers. True when the
/// windows are installed (also when they already were). Call on the host's UI thread.
bool InstallWindows(PluginContext& context);

/// Puts the headless answers back and destroys the Newsboard; nothing when none was installed.
void RemoveWindows();

/// Shows the About box when the windows are installed; nothing otherwise.
void ShowAboutBox(const PluginContext& context);

}  // namespace tarnwick::plugin
