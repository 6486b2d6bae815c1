#include "automation/host_application.h"

#include "automation/host_values.h"
#include "platform/dispatch_ids.h"
#include "platform/host_connect.h"

namespace tarnwick::automation {

HostCollection HostApplication::TopLevel() const {
  return HostCollection(ObjectOf(object_, platform::kApplicationFolders));
}

bool HostApplication::SetStatusText(const std::string& text, std::string* errorText) const {
  if (!object_) return false;
  platform::DispatchResult result = object_->Put(platform::kApplicationStatusText, text);
  if (!result.ok && errorText != nullptr) *errorText = result.errorText;
  return result.ok;
}

HostFolder HostApplication::MailboxByName(const std::string& name) const {
  if (!object_) return {};
  platform::DispatchResult result = object_->Call(platform::kApplicationFolderByName, {name, 1});
  return HostFolder(result.ok ? result.value.Object() : nullptr);
}

HostFolder HostApplication::MailboxById(int id) const {
  if (!object_) return {};
  platform::DispatchResult result = object_->Call(platform::kApplicationFolderById, {id, 1});
  return HostFolder(result.ok ? result.value.Object() : nullptr);
}

bool HostApplication::NewOutgoingMessage(const std::string& subject, const std::string& attachmentPath,
                                         const std::string& body) const {
  if (!object_) return false;
  return object_->Call(platform::kApplicationQueueMessage, {"", subject, "", "", attachmentPath, body}).ok;
}

HostConnectResult ConnectToHost(const std::string& progId) {
  platform::AutomationConnectResult connection = platform::ConnectAutomationServer(progId);
  return {HostApplication(connection.application), connection.errorText};
}

}  // namespace tarnwick::automation
