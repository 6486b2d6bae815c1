#pragma once

#include "platform/change_notices.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace tarnwick::host {

/// What a ChangeWatch had seen of two files at one moment; equal stamps mean no change between.
struct ChangeStamp {
  uint64_t epoch = 0;
  uint64_t first = 0;
  uint64_t second = 0;
  bool operator==(const ChangeStamp&) const = default;
};

/// Follows the system's change notices for the folders of the files it is given, so that the
/// store can tell a file that nobody touched without looking at it. A notice is queued by the
/// system call that made the change, so a change that returned before Stamp is always counted.
/// When notices are not available (or overflowed) every file counts as changed. Not thread-safe.
class ChangeWatch {
public:
  ChangeWatch() = default;
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

  /// Starts following the folder of `path`; false when its changes cannot be followed.
  bool Watch(const std::string& path);
  /// The changes seen so far of the two files (taking in the notices that wait).
  ChangeStamp Stamp(const std::string& first, const std::string& second);
  /// Counts the entries named as mailboxes or folders of mailboxes (".mbx", ".fol") that came, went
  /// or were renamed in the followed folders, and every notice that may concern any file (taking in
  /// the notices that wait): while it stays the same, those folders hold the same mailbox entries.
  uint64_t TreeChanges();
  /// How many folders are followed.
  size_t FolderCount() const { return watches_.size(); }

private:
  void TakeNotices();

  platform::ChangeNotices notices_;
  uint64_t epoch_ = 0;                                 // counts events that may concern any file
  uint64_t unfollowed_ = 0;                            // counts looks at files whose folder is not followed
  uint64_t treeEntries_ = 0;                           // mailbox and folder entries that came, went or moved
  std::unordered_map<std::string, int> watches_;       // folder -> watch descriptor
  std::unordered_map<std::string, uint64_t> changes_;  // watch descriptor "/" file name -> changes seen
};

}  // namespace tarnwick::host
