#include "gui/change_queue.h"

#include <utility>

namespace tarnwick::host::gui {

void ChangeQueue::WindowsChanged() {
  std::lock_guard lock(mutex_);
  pending_.windows = true;
  ScheduleLocked();
}

void ChangeQueue::StoreChanged(int32_t changedId) {
  std::lock_guard lock(mutex_);
  pending_.mailboxIds.insert(changedId);
  ScheduleLocked();
}

PendingChanges ChangeQueue::Take() {
  std::lock_guard lock(mutex_);
  scheduled_ = false;
  return std::exchange(pending_, {});
}

void ChangeQueue::Detach() {
  std::lock_guard lock(mutex_);
  scheduler_ = nullptr;
}

void ChangeQueue::ScheduleLocked() {
  if (scheduled_ || !scheduler_) return;
  scheduled_ = true;
  scheduler_();
}

}  // namespace tarnwick::host::gui
