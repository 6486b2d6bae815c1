#include "plugin/plugin_app.h"

namespace tarnwick::plugin {

// Without windows there is no toolkit to start or stop with the module.
PluginApp::PluginApp() = default;

PluginApp::~PluginApp() = default;

namespace {

// Made when the module is loaded, destroyed when it is unloaded, as in the build with windows.
PluginApp theApp;

}  // namespace

}  // namespace tarnwick::plugin
