#pragma once

namespace tarnwick::ui {

/// Starts a toolkit application of the module's own in a process whose host has none the module
/// can share: a host without windows, or, on Windows, any host (the module carries its own copy of
/// the toolkit there, with its own window classes; it starts there at the first question whether
/// windows can be shown, never while the system loads the module). True when one was started; call
/// on the host's thread.
bool StartOwnToolkit();

/// Ends the application StartOwnToolkit started.
void StopOwnToolkit();

/// Whether the host, while the module runs its own application, has windows of its own for the
/// module's windows to join (a host that runs only its command line has none).
bool HostShowsWindowsBesideOwnToolkit();

}  // namespace tarnwick::ui
