#pragma once

#include "automation/host_automation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::mailbox {

/// Kinds of MailboxEntry.
inline constexpr int32_t kEntryMailbox = 1;
inline constexpr int32_t kEntryFolder = 2;
inline constexpr int32_t kEntryRoot = 3;

/// One mailbox or folder of the host, or the root of a mailbox tree.
struct MailboxEntry {
  std::string name;  // the host's display name
  std::string path;  // full path of its ".mbx" file or ".fol" folder (the data folder for the root)
  int32_t id = 0;    // the host's id
  int32_t kind = kEntryMailbox;
  int32_t messageCount = 0;  // a mailbox's messages; 0 for the others

  bool operator==(const MailboxEntry&) const = default;
};

/// The host's mailboxes and folders, depth first in the host's order.
using MailboxList = std::vector<MailboxEntry>;

/// What reading the host's mailboxes gave.
struct [[nodiscard]] MailboxListResult {
  MailboxList entries;
  std::string errorText;  // why the host could not be reached; empty when it could

  /// True when the host was reached.
  bool Read() const { return errorText.empty(); }
};

/// Reads every mailbox and folder of the host depth first, in its order: a mailbox with its
/// message count, a folder followed by what it holds. Anything the host leaves out of lists is
/// skipped with everything inside it. When the host has no mailboxes at all, the UI's waiting
/// events are handled first. An unreachable host gives its error text and no entries. Call on
/// the UI thread.
MailboxListResult ReadHostMailboxes(const automation::HostAutomation& host);

/// One item of a mailbox tree and the items below it.
struct MailboxTreeNode {
  MailboxEntry entry;
  std::vector<MailboxTreeNode> children;
};

/// The children of folder `folderPath`: the entries whose file lies directly in it (compared
/// without regard to case), in list order, each ".mbx" as a mailbox and each ".fol" as a folder
/// holding its own children; entries without a name or path, or of another kind of file, are left
/// out.
std::vector<MailboxTreeNode> NestMailboxes(const MailboxList& entries, const std::string& folderPath);

/// NestMailboxes with every level sorted by name as a tree control sorts, without regard to
/// letter case.
std::vector<MailboxTreeNode> BuildMailboxTree(const MailboxList& entries, const std::string& folderPath);

/// The name of a tree's root: the data folder's last component, or "Mailboxes" when it has none.
std::string MailboxTreeRootName(const std::string& dataFolder);

/// The whole tree: a root item for the data folder holding BuildMailboxTree of the data folder.
MailboxTreeNode MailboxTreeRoot(const MailboxList& entries, const std::string& dataFolder);

/// What opening a tree on a newsbox expands and selects.
struct MailboxPreselection {
  std::vector<const MailboxTreeNode*> expanded;  // in the order the walk expands them
  const MailboxTreeNode* selected = nullptr;     // null when nothing is selected
};

/// Walks the items below `root` in the order a tree shows them, expanding each item that has
/// children as it is visited, until one whose path equals `newsboxPath` without regard to case,
/// which is selected. Nothing happens when `newsboxPath` names no existing file. The pointers
/// point into `root`.
MailboxPreselection PreselectMailbox(const MailboxTreeNode& root, const std::string& newsboxPath);

}  // namespace tarnwick::mailbox
