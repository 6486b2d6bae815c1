#pragma once

#include <string>
#include <utility>

namespace tarnwick::opml {

/// Gives the mailbox file that receives an imported feed's articles, making the mailbox first
/// when there is none of that name.
class NewsboxMaker {
public:
  explicit NewsboxMaker(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}
  virtual ~NewsboxMaker() = default;
  /// The full path of the ".mbx" file of the top-level mailbox `name` (made safe for a file name
  /// and trimmed), made when missing; empty when it cannot be had.
  virtual std::string MailboxPath(const std::string& name) = 0;
  /// The folder the files of top-level mailboxes lie in; empty when it is not known.
  const std::string& DataFolder() const { return dataFolder_; }

protected:
  std::string dataFolder_;
};

/// Makes mailboxes through the running host's automation server: for imports inside the host,
/// whose data folder is `dataFolder`. When the host cannot be reached, the reason is shown in a
/// message box.
class HostNewsboxMaker : public NewsboxMaker {
public:
  explicit HostNewsboxMaker(std::string dataFolder = {}) : NewsboxMaker(std::move(dataFolder)) {}
  std::string MailboxPath(const std::string& name) override;
};

/// Makes mailboxes as empty files in the host's data folder, as the host itself makes them; the
/// host reads a mailbox file it did not make (building its table of contents) when it starts or
/// sees the folder change. For imports while no host runs in this process.
class DataFolderNewsboxMaker : public NewsboxMaker {
public:
  explicit DataFolderNewsboxMaker(std::string dataFolder) : NewsboxMaker(std::move(dataFolder)) {}
  std::string MailboxPath(const std::string& name) override;
};

}  // namespace tarnwick::opml
