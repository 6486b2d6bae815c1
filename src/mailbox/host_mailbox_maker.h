#pragma once

#include "automation/host_automation.h"

#include <cstdint>
#include <string>

namespace tarnwick::mailbox {

/// What making a mailbox through the host gave.
struct MadeMailbox {
  std::string path;       // the new mailbox's file; empty when none was made
  std::string name;       // its display name in the host
  std::string errorText;  // why none was made
  bool Made() const { return !path.empty(); }
};

/// Has the host make a mailbox named after `name` (made safe for a file name and trimmed) inside
/// the folder whose host id is `folderId`, or at the top for 0. A mailbox of that name that is
/// there already is given as it is, its messages untouched. Call on the UI thread.
MadeMailbox MakeHostMailbox(const automation::HostAutomation& host, int32_t folderId, const std::string& name);

}  // namespace tarnwick::mailbox
