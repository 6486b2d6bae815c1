#pragma once

#include "automation/host_collection.h"
#include "platform/dispatch.h"

#include <string>

namespace tarnwick::automation {

/// A mailbox or a folder of mailboxes of the host. An empty folder fails every call with the
/// failure value named.
class HostFolder {
public:
  HostFolder() = default;
  explicit HostFolder(platform::DispatchPointer object) : object_(std::move(object)) {}

  /// True when it holds an object.
  bool IsValid() const { return object_ != nullptr; }
  /// 1 for a mailbox, another number for a folder, -1 when it cannot be read.
  int Kind() const;
  /// The left-out flag: 1 when the host leaves it out of lists, 0 when not, -1 when unreadable.
  int LeftOut() const;
  /// Its mailboxes and folders (an empty collection when unreadable).
  HostCollection Children() const;
  /// The full path of its ".mbx" file (".fol" folder for a folder); empty when unreadable.
  std::string Path() const;
  /// Its id, or -1.
  int Id() const;
  /// Its messages (an empty collection when unreadable).
  HostCollection Messages() const;
  /// Its display name; empty when unreadable.
  std::string Name() const;
  /// Asks the host to open its window. True when the host did.
  bool Open() const;
  /// The object itself (null for an empty folder: the "nothing" reference a move or open may get).
  const platform::DispatchPointer& Object() const { return object_; }

private:
  platform::DispatchPointer object_;
};

}  // namespace tarnwick::automation
