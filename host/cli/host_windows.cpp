// The program with its windows linked in.
#include "cli/host_windows.h"

#include "gui/host_gui.h"

namespace tarnwick::host {

int RunHostWindows(HostCore& core, const std::string& pluginsFolder, std::ostream& err) {
  return gui::RunHostGui(core, pluginsFolder, err);
}

void ShowHostNotice(const std::string& text) {
  gui::ShowNotice(text);
}

}  // namespace tarnwick::host
