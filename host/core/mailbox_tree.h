#pragma once

#include "core/store_status.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarnwick::host {

/// Ids of the three mailboxes every data folder has at its top.
inline constexpr int32_t kInMailboxId = 2;
inline constexpr int32_t kOutMailboxId = 3;
inline constexpr int32_t kTrashMailboxId = 4;

/// One mailbox ("Name.mbx") or folder of mailboxes ("Name.fol") of the data folder.
struct MailboxNode {
  int32_t id = 0;
  bool isMailbox = true;
  std::string name;               ///< the display name: the file name without its extension
  std::string relativePath;       ///< from the data folder, '/'-joined: "News.fol/Tech.mbx"
  int32_t parentId = 0;           ///< 0 at the top level
  int depth = 0;                  ///< 0 at the top level
  std::vector<int32_t> children;  ///< in list order (folders only)
};

/// The mailboxes and folders found in a data folder, with ids that stay the same for a path as long
/// as the tree object lives, even across rescans and when a mailbox goes away and comes back.
/// Order at the top: In, Out, Trash, then the rest by name without regard to case; inside a folder,
/// by name. Not thread-safe.
class MailboxTree {
public:
  explicit MailboxTree(std::string dataFolder);

  /// Reads the folder tree again. Fails only when the data folder itself cannot be read; a folder
  /// of mailboxes that cannot be read shows as empty.
  StoreStatus Scan();

  /// The node with that id, or null.
  const MailboxNode* Find(int32_t id) const;
  /// The top-level ids in list order.
  const std::vector<int32_t>& TopLevel() const { return topLevel_; }
  /// Every id, depth first in list order.
  std::vector<int32_t> InTreeOrder() const;
  /// The id of the node at that relative path (compared exactly), or 0.
  int32_t FindByRelativePath(const std::string& relativePath) const;
  /// The mailbox with that display name, the shallowest first and an exact match before one that
  /// differs in letter case; 0 when none.
  int32_t FindMailboxByName(const std::string& name) const;
  /// The full path of a node: the data folder, "/", its relative path.
  std::string FullPath(const MailboxNode& node) const;

private:
  void ScanFolder(const std::string& relativeFolder, int32_t parentId, int depth, std::vector<int32_t>& list);
  int32_t IdFor(const std::string& relativePath);

  std::string dataFolder_;
  std::unordered_map<std::string, int32_t> idsByPath_;
  std::unordered_map<int32_t, MailboxNode> nodes_;
  std::vector<int32_t> topLevel_;
  int32_t nextId_ = kTrashMailboxId + 1;
};

}  // namespace tarnwick::host
