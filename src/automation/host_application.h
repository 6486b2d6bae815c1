#pragma once

#include "automation/host_collection.h"
#include "automation/host_folder.h"
#include "platform/dispatch.h"

#include <string>

namespace tarnwick::automation {

/// One connection to the host's automation server: its application object. Every object reached
/// through it is released when its wrapper is destroyed.
class HostApplication {
public:
  HostApplication() = default;
  explicit HostApplication(platform::DispatchPointer object) : object_(std::move(object)) {}

  /// True when connected.
  bool IsValid() const { return object_ != nullptr; }
  /// The top-level mailboxes and folders (an empty collection when unreadable).
  HostCollection TopLevel() const;
  /// Shows the text in the host's status bar. False with `errorText` set (when given) on failure.
  bool SetStatusText(const std::string& text, std::string* errorText = nullptr) const;
  /// The mailbox with that display name; an empty folder when there is none.
  HostFolder MailboxByName(const std::string& name) const;
  /// The mailbox (or folder) with that id; an empty folder when there is none.
  HostFolder MailboxById(int id) const;
  /// Asks the host for a new outgoing message with an empty recipient, the subject, an attachment
  /// path (may be empty) and the body. True when the host made it.
  bool NewOutgoingMessage(const std::string& subject, const std::string& attachmentPath, const std::string& body) const;
  /// The object itself.
  const platform::DispatchPointer& Object() const { return object_; }

private:
  platform::DispatchPointer object_;
};

/// The outcome of connecting: a connected application, or the text of the failure.
struct [[nodiscard]] HostConnectResult {
  HostApplication application;
  std::string errorText;

  /// True when connected.
  bool Connected() const { return application.IsValid(); }
};

/// Connects afresh to the automation server registered under `progId`.
HostConnectResult ConnectToHost(const std::string& progId);

}  // namespace tarnwick::automation
