#pragma once

namespace tarnwick::ui {

/// Makes the UI toolkit's events usable by the module: when the process has no toolkit
/// application yet (a host without windows, a test), starts one that needs no display; then
/// installs the pump that `platform::DrainMessages` runs, which handles the events queued for
/// the calling thread. Call on the host's thread, once per `StopToolkit`.
void StartToolkit();

/// Whether the module's windows can be shown: the application they would live in makes windows
/// (the host's, or on Windows the module's own beside a host that has windows). Call on the UI thread.
bool ToolkitMakesWindows();

/// Removes the pump and ends the toolkit application if `StartToolkit` started it; a host's own
/// application is left running.
void StopToolkit();

}  // namespace tarnwick::ui
