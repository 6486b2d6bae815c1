// Kept apart from the module's application object, so that a program linking the module's code
// without being the module (a test) does not get that object with it.
#include "plugin/module_toolkit.h"

#include "plugin/window_seams.h"
#include "ui/toolkit.h"

namespace tarnwick::plugin {
namespace {

bool toolkitRunning = false;

}  // namespace

void EndModuleToolkit() {
  RemoveWindows();
  if (toolkitRunning) ui::StopToolkit();
  toolkitRunning = false;
}

void RestartModuleToolkit() {
  if (!toolkitRunning) ui::StartToolkit();
  toolkitRunning = true;
}

}  // namespace tarnwick::plugin
