#pragma once

#include "automation/host_application.h"
#include "automation/host_collection.h"

#include <functional>
#include <string>
#include <vector>

namespace tarnwick::automation {

/// A mailbox (or folder) of the host's tree: its file path and its id.
struct MailboxPathId {
  std::string path;
  int id = -1;
};

/// Pauses the calling thread for a number of milliseconds.
using WaitFunction = std::function<void(int milliseconds)>;

/// What Tarnwick asks of the running host beyond the plug-in calls: each operation connects
/// afresh to the automation server (or the host's windows), makes its calls, releases every object
/// and returns its failure value at once when the host cannot be reached. Use from the thread that
/// runs the host's windows.
class HostAutomation {
public:
  /// Operations connect to `progId`; `wait` makes the pauses (a real sleep when empty).
  explicit HostAutomation(WaitFunction wait = {}, std::string progId = "");

  /// A fresh connection for callers that make several calls (released with the result).
  HostConnectResult Connect() const;

  /// Shows text in the host's status bar. False when the host cannot be reached or refuses, with
  /// the reason in `errorText` when given.
  bool SetStatusText(const std::string& text, std::string* errorText = nullptr) const;
  /// Has the host add a top-level mailbox named after `name` (made safe for a file name and
  /// trimmed) and gives the path of its file, or "-1" when the name is empty, the host cannot be
  /// reached (the reason is shown in a message box) or it reports no path.
  std::string MailboxPathCreating(const std::string& name) const;
  /// Opens the mailbox of that display name in the host, then pauses 200 ms. True when opened.
  bool OpenMailboxByName(const std::string& name) const;
  /// The id of the mailbox whose file path is `path`, searched depth first through every folder:
  /// an exact match first, else one that differs only in case; -1 when none or unreachable.
  int FindMailboxId(const std::string& path) const;
  /// The same search through an open connection, from a collection down.
  static int FindMailboxId(const HostCollection& collection, const std::string& path);
  /// Every mailbox and folder from a collection down, depth first in index order, with its file
  /// path: one walk of the tree for many searches (FindListedMailbox).
  static std::vector<MailboxPathId> ListMailboxPaths(const HostCollection& collection);
  /// The search of FindMailboxId among what ListMailboxPaths gave; null when none.
  static const MailboxPathId* FindListedMailbox(const std::vector<MailboxPathId>& listed, const std::string& path);
  /// Opens the mailbox whose file path is `path` and shows its display name in the status bar.
  /// True when opened.
  bool OpenMailboxByPath(const std::string& path) const;

  /// Asks the host's mailbox window titled exactly `title` to close, without waiting. True when asked.
  bool CloseMailboxWindow(const std::string& title) const;
  /// Asks the topmost mailbox window to close. True when there was one and it was asked.
  bool CloseTopMailboxWindow() const;
  /// The titles of the host's mailbox windows, the topmost first; empty when unreachable.
  std::vector<std::string> MailboxWindowTitles() const;
  /// Brings the host's main window forward. False when there is none or the host is unreachable.
  bool BringHostForward() const;

private:
  void Wait(int milliseconds) const;

  WaitFunction wait_;
  std::string progId_;
};

}  // namespace tarnwick::automation
