#include "core/automation_objects.h"
#include "core/automation_support.h"
#include "core/host_texts.h"
#include "platform/dispatch_ids.h"

namespace tarnwick::host {
namespace {

using platform::DispatchArguments;
using platform::DispatchResult;

// A mailbox or a folder of mailboxes, by id.
class FolderObject : public HostObject {
public:
  FolderObject(std::weak_ptr<HostCore> core, int32_t id) : HostObject(std::move(core)), id_(id) {}

  int32_t Id() const { return id_; }

protected:
  DispatchResult Handle(HostCore& core, RequestKind kind, int32_t id, const DispatchArguments&) override {
    if (kind == RequestKind::kPut) return UnknownMember();
    std::optional<MailboxInfo> info = core.Store().Info(id_);
    if (!info) return DispatchResult::Failure(kMailboxGoneText);
    switch (id) {
      case platform::kFolderKind:
        return DispatchResult::Success(info->isMailbox ? platform::kFolderKindMailbox : platform::kFolderKindFolder);
      case platform::kFolderLeftOut:
        return DispatchResult::Success(info->leftOut ? 1 : 0);
      case platform::kFolderChildren:
        return DispatchResult::Success(MakeFolderCollection(WeakCore(), id_));
      case platform::kFolderPath:
        return DispatchResult::Success(info->fullPath);
      case platform::kFolderId:
        return DispatchResult::Success(id_);
      case platform::kFolderMessages:
        return DispatchResult::Success(MakeMessageCollection(WeakCore(), id_));
      case platform::kFolderName:
        return DispatchResult::Success(info->name);
      case platform::kFolderOpen:
        if (!info->isMailbox) return DispatchResult::Failure(kNotAMailboxText);
        core.Windows()->OpenMailboxWindow(id_, info->name);
        return DispatchResult::Success();
      default:
        return UnknownMember();
    }
  }

private:
  int32_t id_;
};

}  // namespace

platform::DispatchPointer MakeFolderObject(std::weak_ptr<HostCore> core, int32_t id) {
  return std::make_shared<FolderObject>(std::move(core), id);
}

int32_t FolderIdOf(const platform::DispatchPointer& object, const HostCore* core) {
  auto* folder = dynamic_cast<FolderObject*>(object.get());
  if (folder == nullptr || folder->Core().get() != core) return 0;
  return folder->Id();
}

}  // namespace tarnwick::host
