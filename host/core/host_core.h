#pragma once

#include "core/mail_store.h"
#include "core/outgoing_message.h"
#include "core/window_model.h"
#include "platform/dispatch.h"

#include <memory>
#include <string>

namespace tarnwick::host {

/// How a host is started.
struct HostOptions {
  /// False keeps the automation server off whatever the settings say (--no-automation).
  bool automationAllowed = true;
};

/// One running host: the mail store of a data folder, the windows model and the automation server
/// that serves both to plug-ins. Shared by the program and the automation objects it hands out;
/// those objects fail with a clear text once the host is gone.
class HostCore : public std::enable_shared_from_this<HostCore> {
public:
  /// Opens the data folder. Null with `errorText` set when it is missing or unusable.
  static std::shared_ptr<HostCore> Open(const std::string& dataFolder, const HostOptions& options,
                                        std::string& errorText);

  /// The mail store of the data folder.
  MailStore& Store() { return *store_; }
  /// The windows model.
  const std::shared_ptr<WindowModel>& Windows() const { return windows_; }

  /// Empty when plug-ins may use the automation server, else the reason they may not.
  std::string AutomationRefusal();
  /// The automation server's application object (a new reference to it on every call).
  platform::DispatchPointer Application();
  /// Creates a message in Out, waiting to be sent; gives its id.
  StoreStatus QueueMessage(const OutgoingMessage& message, uint32_t* newId);

private:
  HostCore(std::unique_ptr<MailStore> store, const HostOptions& options);

  std::unique_ptr<MailStore> store_;
  std::shared_ptr<WindowModel> windows_;
  HostOptions options_;
};

}  // namespace tarnwick::host
