#include "core/automation_objects.h"
#include "core/automation_support.h"
#include "core/host_texts.h"
#include "platform/dispatch_ids.h"

namespace tarnwick::host {
namespace {

using platform::DispatchArguments;
using platform::DispatchResult;

// The mailboxes and folders of one folder, or of the top level, as the last rescan found them.
class FolderCollection : public HostObject {
public:
  FolderCollection(std::weak_ptr<HostCore> core, int32_t parentId) : HostObject(std::move(core)), parentId_(parentId) {}

protected:
  DispatchResult Handle(HostCore& core, RequestKind kind, int32_t id, const DispatchArguments& arguments) override {
    if (kind == RequestKind::kPut) return UnknownMember();
    std::vector<int32_t> ids = parentId_ == 0 ? core.Store().TopLevel() : core.Store().Children(parentId_);
    switch (id) {
      case platform::kCollectionCount:
        return DispatchResult::Success(static_cast<int32_t>(ids.size()));
      case platform::kCollectionItem: {
        int32_t index = 0;
        if (!NumberArgument(arguments, 0, index)) return WrongArguments();
        if (index < 1 || static_cast<size_t>(index) > ids.size()) {
          return DispatchResult::Failure(kIndexOutOfRangeText);
        }
        return DispatchResult::Success(MakeFolderObject(WeakCore(), ids[static_cast<size_t>(index) - 1]));
      }
      case platform::kCollectionAdd:
        return Add(core, arguments);
      default:
        return UnknownMember();
    }
  }

private:
  // Adding a mailbox that exists already gives the one that is there.
  DispatchResult Add(HostCore& core, const DispatchArguments& arguments) {
    std::string name;
    int32_t isMailbox = 1;
    if (!TextArgument(arguments, 0, name) || !OptionalNumberArgument(arguments, 1, isMailbox, 1)) {
      return WrongArguments();
    }
    int32_t newId = 0;
    StoreStatus status = core.Store().Create(parentId_, name, isMailbox != 0, &newId, nullptr);
    if (!status.ok) return Failed(status);
    return DispatchResult::Success(MakeFolderObject(WeakCore(), newId));
  }

  int32_t parentId_;
};

// The messages of one mailbox, read live: positions count from 1 over what the mailbox holds now.
class MessageCollection : public HostObject {
public:
  MessageCollection(std::weak_ptr<HostCore> core, int32_t mailboxId)
      : HostObject(std::move(core)), mailboxId_(mailboxId) {}

protected:
  DispatchResult Handle(HostCore& core, RequestKind kind, int32_t id, const DispatchArguments& arguments) override {
    if (kind == RequestKind::kPut) return UnknownMember();
    std::optional<MailboxInfo> info = core.Store().Info(mailboxId_);
    if (!info) return DispatchResult::Failure(kMailboxGoneText);
    switch (id) {
      case platform::kCollectionCount: {
        if (!info->isMailbox) return DispatchResult::Success(0);
        size_t count = 0;
        StoreStatus status = core.Store().Counts(mailboxId_, &count, nullptr);
        if (!status.ok) return Failed(status);
        return DispatchResult::Success(static_cast<int32_t>(count));
      }
      case platform::kCollectionItem: {
        int32_t index = 0;
        if (!NumberArgument(arguments, 0, index)) return WrongArguments();
        if (index < 1 || !info->isMailbox) return DispatchResult::Failure(kIndexOutOfRangeText);
        uint32_t messageId = 0;
        StoreStatus status = core.Store().MessageIdAt(mailboxId_, static_cast<size_t>(index) - 1, &messageId);
        if (!status.ok) return Failed(status);
        return DispatchResult::Success(MakeMessageObject(WeakCore(), mailboxId_, messageId));
      }
      default:
        return UnknownMember();
    }
  }

private:
  int32_t mailboxId_;
};

}  // namespace

platform::DispatchPointer MakeFolderCollection(std::weak_ptr<HostCore> core, int32_t parentId) {
  return std::make_shared<FolderCollection>(std::move(core), parentId);
}

platform::DispatchPointer MakeMessageCollection(std::weak_ptr<HostCore> core, int32_t mailboxId) {
  return std::make_shared<MessageCollection>(std::move(core), mailboxId);
}

}  // namespace tarnwick::host
