#pragma once

#include "platform/dispatch.h"

#include <string>

namespace tarnwick::automation {

class HostFolder;

/// A collection of the host's automation server (mailboxes and folders, or messages), counted from 1.
/// Holds its object until destroyed; an empty collection fails every call.
class HostCollection {
public:
  HostCollection() = default;
  explicit HostCollection(platform::DispatchPointer object) : object_(std::move(object)) {}

  /// True when it holds an object.
  bool IsValid() const { return object_ != nullptr; }
  /// The number of items, or -1 when it cannot be read.
  int Count() const;
  /// The object at a 1-based position, or null when there is none.
  platform::DispatchPointer Item(int position) const;
  /// Asks the host to create a mailbox (or, with `isMailbox` false, a folder) named `name` in this
  /// collection. True when the host accepted.
  bool Add(const std::string& name, bool isMailbox = true) const;
  /// Asks the host to create a mailbox named `name` in this collection and gives the new mailbox
  /// (or the one of that name that was there); an empty folder when the host refused, with its
  /// reason in `errorText`.
  HostFolder CreateMailbox(const std::string& name, std::string& errorText) const;
  /// The object itself.
  const platform::DispatchPointer& Object() const { return object_; }

private:
  platform::DispatchPointer object_;
};

}  // namespace tarnwick::automation
