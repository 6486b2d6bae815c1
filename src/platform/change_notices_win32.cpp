#include "platform/change_notices.h"

namespace tarnwick::platform {

// Windows reports directory changes (ReadDirectoryChangesW) some time after the call that made
// them has returned, never within it: a mailbox that another program has just appended to would
// look untouched for a moment. Notices here must be there as soon as the change is made, so this
// system has none, and every file counts as changed: its readers look at the file itself each time.
struct ChangeNotices::State {};

ChangeNotices::ChangeNotices() : state_(std::make_unique<State>()) {}

ChangeNotices::~ChangeNotices() = default;

bool ChangeNotices::Available() const {
  return false;
}

int ChangeNotices::Follow(const std::string& /*folder*/) {
  return -1;
}

std::vector<ChangeNotice> ChangeNotices::Take() {
  return {};
}

}  // namespace tarnwick::platform
