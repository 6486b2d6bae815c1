#include "mailbox/pending_mailbox.h"

#include "platform/file.h"
#include "platform/file_system.h"
#include "store/file_utilities.h"

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
  if (store::FileExists(toc) && platform::RemoveFile(toc)) pause_(kHostPauseMilliseconds);
  return !path_.empty() && store::FileExists(path_);
}

bool PendingMailbox::Append(const std::string& message) const {
  if (path_.empty()) return false;
  platform::File file =
      platform::File::Open(path_, platform::FileAccess::kReadWrite, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return false;
  const int64_t end = file.SeekToEnd();
  bool written = end >= 0 && file.WriteAll(message);
  if (!written && end >= 0 && !file.Truncate(static_cast<uint64_t>(end))) written = false;
  return file.Close() && written;
}

}  // namespace tarnwick::mailbox
