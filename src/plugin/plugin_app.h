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

}  // namespace tarnwick::plugin
