#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <set>

namespace tarnwick::host::gui {

/// What changed since the windows last looked.
struct PendingChanges {
  bool windows = false;          ///< the windows model (mailbox windows, status text, bring forward)
  std::set<int32_t> mailboxIds;  ///< mailboxes whose messages changed; kTreeChanged for the tree
};

/// Collects change notices from any thread (the windows model's and the mail store's listeners)
/// and asks the UI thread, once per batch, to take them: a plug-in that moves a hundred messages
/// causes one refresh, not a hundred. Thread-safe.
class ChangeQueue {
public:
  /// Asks the UI thread to call Take soon; called with the queue's lock held, so it must only post.
  using Scheduler = std::function<void()>;

  explicit ChangeQueue(Scheduler scheduler) : scheduler_(std::move(scheduler)) {}

  /// The windows model changed.
  void WindowsChanged();
  /// The mail store changed that mailbox (or the tree).
  void StoreChanged(int32_t changedId);
  /// Everything noted since the last call; the next notice schedules a new batch.
  PendingChanges Take();
  /// Stops scheduling: once this returns the scheduler is never called again.
  void Detach();

private:
  void ScheduleLocked();

  std::mutex mutex_;
  Scheduler scheduler_;
  PendingChanges pending_;
  bool scheduled_ = false;
};

}  // namespace tarnwick::host::gui
