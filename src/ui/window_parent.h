#pragma once

class wxWindow;

namespace tarnwick::ui {

/// The window the plug-in's dialogs belong to: the host's main window (the application's top
/// window, when it is shown and is not the Newsboard), else the active window; null when there is
/// neither. Call on the UI thread.
wxWindow* HostMainWindow();

}  // namespace tarnwick::ui
