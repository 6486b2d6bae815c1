#pragma once

namespace tarnwick::plugin {

/// Ends what the module runs of the toolkit for itself (its windows, and the application it
/// started): called when the host finishes with the module, on the host's thread. At unload the
/// system holds its loader lock, under which a toolkit that waits for its threads or windows
/// (the module's own one on Windows) would wait forever. A later init starts it again.
void EndModuleToolkit();

/// Starts the toolkit again after EndModuleToolkit; nothing while it runs.
void RestartModuleToolkit();

}  // namespace tarnwick::plugin
