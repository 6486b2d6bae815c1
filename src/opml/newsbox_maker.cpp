#include "opml/newsbox_maker.h"

#include "automation/automation_texts.h"
#include "automation/host_automation.h"
#include "platform/text.h"
#include "store/file_utilities.h"

#include <fcntl.h>
#include <unistd.h>

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
  // O_EXCL: a mailbox that is there already, with its messages, is never touched.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    close(fd);
    return path;
  }
  return errno == EEXIST && !store::FolderExists(path) ? path : std::string();
}

}  // namespace tarnwick::opml
