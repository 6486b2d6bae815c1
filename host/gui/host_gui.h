#pragma once

#include "core/host_core.h"

#include <iosfwd>
#include <string>

namespace tarnwick::host::gui {

/// Runs the host's windows on `core` until the user closes the main window: starts the toolkit,
/// loads the plug-ins of `pluginsFolder` (each one left out is reported on `err`), shows the frame
/// and runs its event loop. On the way out the plug-ins are finished, every window they left is
/// taken down while their code is still loaded, and then they are unloaded. Returns the exit code:
/// 0, or 1 when no display could be opened (the reason on `err`). Call once, on the main thread.
int RunHostGui(HostCore& core, const std::string& pluginsFolder, std::ostream& err);

/// Shows `text` in a message box of its own and returns once it is closed; does nothing when no
/// display can be opened. For what happens before the windows run (the wait for another host).
void ShowNotice(const std::string& text);

}  // namespace tarnwick::host::gui
