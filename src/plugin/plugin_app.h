#pragma once

namespace tarnwick::plugin {

/// The module's one application object: it lives from the moment the host loads the module until
/// the host unloads it, and keeps the UI toolkit's events ("uiDisplayWindow", "uiNewArticle")
/// usable on the host's thread until the host finishes with the module.
class PluginApp {
public:
  PluginApp();
  ~PluginApp();
  PluginApp(const PluginApp&) = delete;
  PluginApp& operator=(const PluginApp&) = delete;
};

/// Ends what the module runs of the toolkit for itself (its windows, and the application it
/// started): called when the host finishes with the module, on the host's thread. At unload the
/// system holds its loader lock, under which a toolkit that waits for its threads or windows
/// (the module's own one on Windows) would wait forever. A later init starts it again.
void EndModuleToolkit();

/// Starts the toolkit again after EndModuleToolkit; nothing while it runs.
void RestartModuleToolkit();

}  // namespace tarnwick::plugin
