#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::platform {

/// The host's windows as a plug-in may see and drive them: the main window with its status bar, and
/// the mailbox windows it holds. A host without a display keeps the same model. Every call is
/// complete in itself and safe from any thread.
class HostWindows {
public:
  virtual ~HostWindows() = default;

  /// True when the host has its main window.
  virtual bool HasMainWindow() = 0;
  /// The titles of the open mailbox windows, the topmost first; empty without a main window.
  virtual std::vector<std::string> MailboxWindowTitles() = 0;
  /// Asks the topmost mailbox window whose title equals `title` exactly to close, without waiting
  /// for it. True when such a window was asked.
  virtual bool CloseMailboxWindow(const std::string& title) = 0;
  /// Brings the main window to the front, restores it when minimised and gives the topmost mailbox
  /// window the focus. False without a main window.
  virtual bool BringMainWindowForward() = 0;
  /// Shows `text` in the main window's status bar. False without a main window.
  virtual bool SetStatusText(const std::string& text) = 0;
};

/// A shared reference to a host's windows; it stays valid after the host is gone (calls then fail).
using HostWindowsPointer = std::shared_ptr<HostWindows>;

}  // namespace tarnwick::platform
