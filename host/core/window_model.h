#pragma once

#include "platform/host_windows.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tarnwick::host {

/// One open mailbox window.
struct MailboxWindow {
  int32_t mailboxId = 0;
  std::string title;
};

/// The host's windows as a model: the main window with its status text, and the mailbox windows,
/// the topmost first. A GUI draws it and listens for changes; without a display it is all there is.
/// Thread-safe.
class WindowModel {
public:
  /// Called after every change, outside the model's lock.
  using ChangeListener = std::function<void()>;

  /// Shows or removes the main window (it is there from the start).
  void SetMainWindowPresent(bool present);
  /// True while the main window is there.
  bool HasMainWindow() const;

  /// Opens the mailbox's window on top, or brings its open window to the top (taking the new title).
  void OpenMailboxWindow(int32_t mailboxId, const std::string& title);
  /// The open windows, the topmost first.
  std::vector<MailboxWindow> MailboxWindows() const;
  /// Closes the topmost window with exactly that title. True when one was closed.
  bool CloseMailboxWindow(const std::string& title);
  /// Closes the window of that mailbox (a user closed it). True when it was open.
  bool CloseMailboxWindowOf(int32_t mailboxId);
  /// Brings the main window forward. False without a main window.
  bool BringMainWindowForward();
  /// How often the main window was brought forward (a GUI raises it; tests read it).
  int TimesBroughtForward() const;

  /// Sets the status-bar text. False without a main window.
  bool SetStatusText(const std::string& text);
  /// The status-bar text.
  std::string StatusText() const;

  /// Installs the listener (one; an empty function removes it).
  void SetChangeListener(ChangeListener listener);

private:
  void Changed();
  // Closes the topmost window that `matches`; true when there was one.
  bool CloseTopmost(const std::function<bool(const MailboxWindow&)>& matches);

  mutable std::mutex mutex_;
  bool mainWindow_ = true;
  std::vector<MailboxWindow> windows_;
  std::string statusText_;
  int broughtForward_ = 0;
  ChangeListener listener_;
};

/// The plug-ins' view of a host's windows: forwards to the model while the model lives, and fails
/// (no main window) once it is gone.
platform::HostWindowsPointer MakeHostWindows(std::weak_ptr<WindowModel> model);

}  // namespace tarnwick::host
