#pragma once

#include <string>

namespace tarnwick::opml {

/// Gives the mailbox file that receives an imported feed's articles, making the mailbox first
/// when there is none of that name.
class NewsboxMaker {
public:
  virtual ~NewsboxMaker() = default;
  /// The full path of the ".mbx" file of the top-level mailbox `name` (made safe for a file name
  /// and trimmed), made when missing; empty when it cannot be had.
  virtual std::string MailboxPath(const std::string& name) = 0;
};

/// Makes mailboxes through the running host's automation server: for imports inside the host.
/// When the host cannot be reached, the reason is shown in a message box.
class HostNewsboxMaker : public NewsboxMaker {
public:
  std::string MailboxPath(const std::string& name) override;
};

/// Makes mailboxes as empty files in the host's data folder, as the host itself makes them; the
/// host reads a mailbox file it did not make (building its table of contents) when it starts or
/// sees the folder change. For imports while no host runs in this process.
class DataFolderNewsboxMaker : public NewsboxMaker {
public:
  explicit DataFolderNewsboxMaker(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}
  std::string MailboxPath(const std::string& name) override;

private:
  std::string dataFolder_;
};

}  // namespace tarnwick::opml
