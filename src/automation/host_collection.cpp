#include "automation/host_collection.h"

#include "automation/host_folder.h"
#include "platform/dispatch_ids.h"

namespace tarnwick::automation {

int HostCollection::Count() const {
  if (!object_) return -1;
  platform::DispatchResult result = object_->Get(platform::kCollectionCount, {});
  return result.ok && result.value.IsNumber() ? result.value.Number() : -1;
}

platform::DispatchPointer HostCollection::Item(int position) const {
  if (!object_) return nullptr;
  platform::DispatchResult result = object_->Get(platform::kCollectionItem, {position});
  return result.ok ? result.value.Object() : nullptr;
}

bool HostCollection::Add(const std::string& name, bool isMailbox) const {
  if (!object_) return false;
  return object_->Call(platform::kCollectionAdd, {name, isMailbox ? 1 : 0}).ok;
}

HostFolder HostCollection::CreateMailbox(const std::string& name, std::string& errorText) const {
  if (!object_) return {};
  platform::DispatchResult result = object_->Call(platform::kCollectionAdd, {name, 1});
  if (!result.ok) errorText = result.errorText;
  return HostFolder(result.ok ? result.value.Object() : nullptr);
}

}  // namespace tarnwick::automation
