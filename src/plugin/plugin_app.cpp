#include "plugin/plugin_app.h"

#include "plugin/window_seams.h"
#include "ui/toolkit.h"

namespace tarnwick::plugin {
namespace {

bool toolkitRunning = false;

}  // namespace

PluginApp::PluginApp() {
  RestartModuleToolkit();
}

PluginApp::~PluginApp() {
  EndModuleToolkit();
}

void EndModuleToolkit() {
  RemoveWindows();
  if (toolkitRunning) ui::StopToolkit();
  toolkitRunning = false;
}

void RestartModuleToolkit() {
  if (!toolkitRunning) ui::StartToolkit();
  toolkitRunning = true;
}

namespace {

// Made when the module is loaded, destroyed when it is unloaded. The background scheduler is
// made later (by init), so at unload it is destroyed, and its thread joined, before this.
PluginApp theApp;

}  // namespace

}  // namespace tarnwick::plugin
