#pragma once

#include "automation/host_folder.h"
#include "platform/dispatch.h"

#include <string>

namespace tarnwick::automation {

/// One message of a host mailbox. An empty message fails every call with the failure value named.
class HostMessage {
public:
  HostMessage() = default;
  explicit HostMessage(platform::DispatchPointer object) : object_(std::move(object)) {}

  /// True when it holds an object.
  bool IsValid() const { return object_ != nullptr; }
  /// The body as the host shows it; empty when unreadable.
  std::string Body() const;
  /// The value of a header line by the host's field number; empty when absent or unreadable.
  std::string HeaderField(int field) const;
  /// The value of its "Message-Id: " line (field 8), as the check compares identifiers.
  std::string MessageIdLine() const;
  /// Its id within its mailbox, or -1.
  int Id() const;
  /// The whole message, header block first; empty when unreadable.
  std::string RawText() const;
  /// Sets its state (0 is unread). True when the host accepted.
  bool SetStatus(int status) const;
  /// Its title (the subject); empty when unreadable.
  std::string Title() const;
  /// Moves it into `target`. True when the host moved it; an empty target is passed as nothing.
  bool MoveTo(const HostFolder& target) const;
  /// The object itself.
  const platform::DispatchPointer& Object() const { return object_; }

private:
  platform::DispatchPointer object_;
};

}  // namespace tarnwick::automation
