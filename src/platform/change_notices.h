#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::platform {

/// One change the system reported in a followed folder.
struct ChangeNotice {
  int folder = -1;           ///< the number Follow gave the folder
  std::string name;          ///< the entry that changed; empty when anything in the folder may have
  bool entryCame = false;    ///< the entry was created, deleted or renamed (not only written)
  bool folderEnded = false;  ///< the folder is no longer followed (it went away or moved)
};

/// The system's notices of changes to entries of followed folders, collected without waiting.
/// A notice is queued by the call that made the change. Not thread-safe.
class ChangeNotices {
public:
  ChangeNotices();
  ~ChangeNotices();
  ChangeNotices(const ChangeNotices&) = delete;
  ChangeNotices& operator=(const ChangeNotices&) = delete;

  /// False when the system gives no notices here.
  bool Available() const;
  /// Starts following the folder at the UTF-8 `folder`: its number, or -1 when it cannot be followed.
  int Follow(const std::string& folder);
  /// The notices that wait, oldest first; none when none wait.
  std::vector<ChangeNotice> Take();

private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarnwick::platform
