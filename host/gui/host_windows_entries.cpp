// The entries of the host's windows where they are a library apart from the program
// (cli/host_windows_apart.cpp loads it).
#include "cli/host_windows.h"
#include "gui/host_gui.h"
#include "platform/symbol_export.h"

using namespace tarnwick::host;

TARNWICK_SYMBOL_EXPORT int tarnwick_host_RunWindows(HostCore* core, const char* pluginsFolder, std::ostream* err) {
  return gui::RunHostGui(*core, pluginsFolder, *err);
}

TARNWICK_SYMBOL_EXPORT void tarnwick_host_ShowNotice(const char* text) {
  gui::ShowNotice(text);
}
