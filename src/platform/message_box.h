#pragma once

#include <functional>
#include <string>

namespace tarnwick::platform {

/// Shows text to the user in a message box with an OK button, from any thread.
/// Without a window system (headless runs, tests) the text goes to standard error as one line.
void ShowMessageBox(const std::string& text, const std::string& caption);

using MessageBoxHandler = std::function<void(const std::string& text, const std::string& caption)>;

/// Installs the function that shows message boxes (the UI installs a dialog; tests a recorder).
/// An empty handler restores the standard-error line. Returns the handler it replaced.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace tarnwick::platform
