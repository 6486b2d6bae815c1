#include "opml/newsbox_maker.h"

#include "automation/automation_texts.h"
#include "automation/host_automation.h"
#include "platform/file.h"
#include "platform/text.h"
#include "store/file_utilities.h"

#include <cerrno>

namespace tarnwick::opml {

std::string HostNewsboxMaker::MailboxPath(const std::string& name) {
  const automation::HostAutomation host;
  const std::string path = host.MailboxPathCreating(name);
  if (path == automation::kNoPath) return {};
  // The host writes a mailbox's table of contents when it first reads the mailbox: counting its
  // messages now lets the new newsbox show its real counts at once instead of "unknown".
  automation::HostConnectResult connection = host.Connect();
  if (connection.Connected()) (void)connection.application.MailboxById(host.FindMailboxId(path)).Messages().Count();
  return path;
}

std::string DataFolderNewsboxMaker::MailboxPath(const std::string& name) {
  if (dataFolder_.empty() || platform::TrimWhiteSpace(name).empty()) return {};
  const std::string path = store::MailboxFilePath(dataFolder_, name, false);
  // Created only when new: a mailbox that is there already, with its messages, is never touched.
  if (platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kCreateNew).IsOpen()) {
    return path;
  }
  return errno == EEXIST && !store::FolderExists(path) ? path : std::string();
}

}  // namespace tarnwick::opml
