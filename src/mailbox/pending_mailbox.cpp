#include "mailbox/pending_mailbox.h"

#include "platform/file_io.h"
#include "store/file_utilities.h"

#include <fcntl.h>
#include <unistd.h>

namespace tarnwick::mailbox {
namespace {

constexpr int kHostPauseMilliseconds = 200;
constexpr char kNoMailboxAnswer[] = "-1";

}  // namespace

PendingMailbox::PendingMailbox(const automation::HostAutomation& host, std::string hostDataFolder,
                               std::string mailboxName, std::function<void(int milliseconds)> pause)
    : host_(host),
      hostDataFolder_(std::move(hostDataFolder)),
      mailboxName_(std::move(mailboxName)),
      pause_(std::move(pause)),
      path_(store::MailboxFilePath(hostDataFolder_, mailboxName_, false)) {}

bool PendingMailbox::Empty() {
  if (!host_.CloseMailboxWindow(mailboxName_) && host_.CloseMailboxWindow("")) pause_(kHostPauseMilliseconds);
  path_ = store::MailboxFilePath(hostDataFolder_, mailboxName_, false);
  if (!store::FileExists(path_)) {
    // The host's answer is a path only when it could add the mailbox.
    const std::string created = host_.MailboxPathCreating(mailboxName_);
    path_ = created == kNoMailboxAnswer ? std::string() : created;
    pause_(kHostPauseMilliseconds);
  } else if (store::TruncateFile(path_)) {
    pause_(kHostPauseMilliseconds);
  }
  const std::string toc = store::MailboxFilePath(hostDataFolder_, mailboxName_, true);
  if (store::FileExists(toc) && unlink(toc.c_str()) == 0) pause_(kHostPauseMilliseconds);
  return !path_.empty() && store::FileExists(path_);
}

bool PendingMailbox::Append(const std::string& message) const {
  if (path_.empty()) return false;
  const int fd = open(path_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const off_t end = lseek(fd, 0, SEEK_END);
  bool written = end >= 0 && platform::WriteAll(fd, message);
  if (!written && end >= 0 && ftruncate(fd, end) != 0) written = false;
  return close(fd) == 0 && written;
}

}  // namespace tarnwick::mailbox
