#pragma once

#include "automation/host_automation.h"

#include <functional>
#include <string>

namespace tarnwick::mailbox {

/// A host mailbox where messages are staged before the host moves them on: Tarnwick appends to
/// its file directly and then has the host re-read it. Each user of staging has a mailbox of its
/// own, so one never empties what another has staged.
class PendingMailbox {
public:
  /// Stages in the host mailbox `mailboxName` of the data folder; `pause` waits between steps the
  /// host needs time for (nothing when headless).
  PendingMailbox(const automation::HostAutomation& host, std::string hostDataFolder, std::string mailboxName,
                 std::function<void(int milliseconds)> pause);

  /// Closes its window in the host, empties its file (asking the host to add the mailbox when the
  /// file is missing) and deletes its table of contents, so the host reads it afresh. False when
  /// there is no file to stage into (the host could not add it).
  bool Empty();
  /// Appends one whole message to the file; a message written in part is cut off again. False
  /// when it could not be written.
  bool Append(const std::string& message) const;
  /// The mailbox file.
  const std::string& Path() const { return path_; }
  /// The mailbox's name in the host.
  const std::string& Name() const { return mailboxName_; }

private:
  const automation::HostAutomation& host_;
  std::string hostDataFolder_;
  std::string mailboxName_;
  std::function<void(int)> pause_;
  std::string path_;
};

}  // namespace tarnwick::mailbox
