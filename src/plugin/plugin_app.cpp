#include "plugin/plugin_app.h"

#include "plugin/module_toolkit.h"

namespace tarnwick::plugin {

PluginApp::PluginApp() {
  RestartModuleToolkit();
}

PluginApp::~PluginApp() {
  EndModuleToolkit();
}

namespace {

// Made when the module is loaded, destroyed when it is unloaded. The background scheduler is
// made later (by init), so at unload it is destroyed, and its thread joined, before this.
PluginApp theApp;

}  // namespace

}  // namespace tarnwick::plugin
