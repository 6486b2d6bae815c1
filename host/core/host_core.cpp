#include "core/host_core.h"

#include "core/automation_objects.h"
#include "core/host_texts.h"

#include <ctime>

namespace tarnwick::host {

HostCore::HostCore(std::unique_ptr<MailStore> store, const HostOptions& options)
    : store_(std::move(store)), windows_(std::make_shared<WindowModel>()), options_(options) {}

std::shared_ptr<HostCore> HostCore::Open(const std::string& dataFolder, const HostOptions& options,
                                         std::string& errorText) {
  std::unique_ptr<MailStore> store = MailStore::Open(dataFolder, errorText);
  if (!store) return nullptr;
  return std::shared_ptr<HostCore>(new HostCore(std::move(store), options));
}

std::string HostCore::AutomationRefusal() {
  if (!options_.automationAllowed) return kAutomationOffText;
  if (!store_->AutomationEnabled()) return kAutomationOffText;
  return {};
}

platform::DispatchPointer HostCore::Application() {
  return MakeApplicationObject(weak_from_this());
}

StoreStatus HostCore::QueueMessage(const OutgoingMessage& message, uint32_t* newId) {
  return store_->AddMessage(kOutMailboxId, ComposeOutgoingMessage(message, std::time(nullptr)), kStateUnsent, newId);
}

}  // namespace tarnwick::host
