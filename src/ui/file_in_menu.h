#pragma once

#include "mailbox/mailbox_tree.h"

#include <string>
#include <vector>

namespace tarnwick::ui {

/// Where the host keeps the mailboxes the viewer's File menu never offers.
struct FileInMenuPaths {
  std::string dataFolder;
  std::string inMailboxPath;   // "In" has its own item at the top of the menu
  std::string outMailboxPath;  // nothing is filed into what waits to be sent
};

/// The mailboxes and folders the viewer's File menu offers below "In", nested as the host's
/// folders hold them and in the host's order: everything of `hostMailboxes` except the host's
/// "In" and "Out" mailboxes (by path, without regard to case) and anything named "Trash", "Out",
/// "Pending" or "Pending Filing" (the staging mailboxes), with whatever such a folder holds.
std::vector<mailbox::MailboxTreeNode> FileInMenuMailboxes(const mailbox::MailboxList& hostMailboxes,
                                                          const FileInMenuPaths& paths);

/// The command of a mailbox's item: its host id when a File menu command can carry it, else 0,
/// for an item that is listed but does nothing.
int FileInCommandOf(int32_t mailboxId);

}  // namespace tarnwick::ui
