#include "automation/host_folder.h"

#include "automation/host_values.h"
#include "platform/dispatch_ids.h"

namespace tarnwick::automation {

int HostFolder::Kind() const {
  return NumberOf(object_, platform::kFolderKind);
}

int HostFolder::LeftOut() const {
  return NumberOf(object_, platform::kFolderLeftOut);
}

HostCollection HostFolder::Children() const {
  return HostCollection(ObjectOf(object_, platform::kFolderChildren));
}

std::string HostFolder::Path() const {
  return TextOf(object_, platform::kFolderPath);
}

int HostFolder::Id() const {
  return NumberOf(object_, platform::kFolderId);
}

HostCollection HostFolder::Messages() const {
  return HostCollection(ObjectOf(object_, platform::kFolderMessages));
}

std::string HostFolder::Name() const {
  return TextOf(object_, platform::kFolderName);
}

bool HostFolder::Open() const {
  return object_ && object_->Call(platform::kFolderOpen, {}).ok;
}

}  // namespace tarnwick::automation
