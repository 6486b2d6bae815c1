#pragma once

#include "plugin/plugin_context.h"

#include <string>

namespace tarnwick::plugin {

/// Fills the context's paths, version texts, data folder and HTML-cleaning flag from the folder
/// the host names for the module and the host's executable path, and returns the module's
/// description ("Tarnwick, Version: 1.0"). It never fails: whatever cannot be found stays empty
/// or falls back (the data folder to the host program folder derived from the plug-in folder).
std::string FillContext(PluginContext& context, int16_t hostApiVersion, const std::string& configFolder,
                        const std::string& hostExecutablePath);

/// "Version: <major>.<minor>" of a version text such as "1, 8, 0, 2"; empty when it does not
/// start with two numbers.
std::string VersionTextOf(const std::string& productVersion);

/// The host's data folder: "DataFolder" of section "Settings" in the host's settings file beside
/// its executable when that names an existing folder, else the plug-in folder's parent (the settings
/// path without "/plugins/tarnwick.ini", compared without regard to case).
std::string FindHostDataFolder(const std::string& settingsPath, const std::string& hostExecutablePath);

}  // namespace tarnwick::plugin
