#pragma once

#include "platform/file.h"

#include <chrono>
#include <functional>
#include <string>

namespace tarnwick::host {

/// How long a host waits for another host to finish with the data folder before it gives up: long
/// enough for a check run of a large feed to end, short enough that checks started by a timer do not
/// pile up behind one that hangs.
inline constexpr std::chrono::seconds kDataFolderLockWait{300};

/// How taking the lock ended.
enum class LockOutcome {
  kTaken,   ///< this process holds the lock
  kBusy,    ///< another process held it for the whole wait
  kFailed,  ///< the lock file could not be used (see ErrorText)
};

/// One process's exclusive hold on a data folder, so that two hosts never change its mailboxes at
/// the same time (one cutting "Pending" short while the other appends to it). The lock is the
/// system's advisory lock (flock) on the lock file; it goes with the object, or with the process
/// however it ends, so a crashed host never leaves the folder locked. Another object on the same
/// folder in the same process is another holder and is refused like another process.
class DataFolderLock {
public:
  /// A lock on `dataFolder`, not yet taken.
  explicit DataFolderLock(const std::string& dataFolder);
  /// Releases the lock if it is held.
  ~DataFolderLock();
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

  /// Takes the lock, trying again every little while for up to `wait` while another process holds
  /// it; `waiting` (may be empty) is called once, when the first try finds it held. A data folder
  /// whose lock file this process may neither create nor open is not locked: kTaken, holding nothing.
  [[nodiscard]] LockOutcome Take(std::chrono::milliseconds wait, const std::function<void()>& waiting = {});
  /// The process id that the holder wrote into the lock file; 0 when it cannot be read.
  long HolderProcessId() const;
  /// Why the lock file could not be used, after kFailed.
  const std::string& ErrorText() const { return errorText_; }

private:
  bool OpenLockFile();
  bool TryLock();
  void RecordHolder();

  std::string dataFolder_;
  std::string path_;
  platform::File file_;
  bool writable_ = false;
  std::string errorText_;
};

}  // namespace tarnwick::host
