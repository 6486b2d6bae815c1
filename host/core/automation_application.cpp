#include "core/automation_objects.h"
#include "core/automation_support.h"
#include "core/host_texts.h"
#include "platform/dispatch_ids.h"

namespace tarnwick::host {
namespace {

using platform::DispatchArguments;
using platform::DispatchResult;

class ApplicationObject : public HostObject {
public:
  explicit ApplicationObject(std::weak_ptr<HostCore> core) : HostObject(std::move(core)) {}

protected:
  DispatchResult Handle(HostCore& core, RequestKind kind, int32_t id, const DispatchArguments& arguments) override {
    if (kind == RequestKind::kPut) {
      if (id != platform::kApplicationStatusText) return UnknownMember();
      std::string text;
      if (!TextArgument(arguments, 0, text)) return WrongArguments();
      core.Windows()->SetStatusText(text);
      return DispatchResult::Success();
    }
    switch (id) {
      case platform::kApplicationFolders: {
        StoreStatus status = core.Store().Rescan();
        if (!status.ok) return Failed(status);
        return DispatchResult::Success(MakeFolderCollection(WeakCore(), 0));
      }
      case platform::kApplicationStatusText:
        return DispatchResult::Success(core.Windows()->StatusText());
      case platform::kApplicationFolderByName:
        return FolderByName(core, arguments);
      case platform::kApplicationFolderById:
        return FolderById(core, arguments);
      case platform::kApplicationQueueMessage:
        return QueueMessage(core, arguments);
      default:
        return UnknownMember();
    }
  }

private:
  // Nothing (not an error) when no mailbox has that name, as a lookup that finds nothing.
  DispatchResult FolderByName(HostCore& core, const DispatchArguments& arguments) {
    std::string name;
    int32_t unused = 0;
    if (!TextArgument(arguments, 0, name) || !OptionalNumberArgument(arguments, 1, unused, 1)) {
      return WrongArguments();
    }
    StoreStatus status = core.Store().Rescan();
    if (!status.ok) return Failed(status);
    int32_t mailboxId = core.Store().FindMailboxByName(name);
    if (mailboxId == 0) return DispatchResult::Success();
    return DispatchResult::Success(MakeFolderObject(WeakCore(), mailboxId));
  }

  DispatchResult FolderById(HostCore& core, const DispatchArguments& arguments) {
    int32_t wanted = 0;
    int32_t unused = 0;
    if (!NumberArgument(arguments, 0, wanted) || !OptionalNumberArgument(arguments, 1, unused, 1)) {
      return WrongArguments();
    }
    StoreStatus status = core.Store().Rescan();
    if (!status.ok) return Failed(status);
    if (!core.Store().Info(wanted)) return DispatchResult::Success();
    return DispatchResult::Success(MakeFolderObject(WeakCore(), wanted));
  }

  DispatchResult QueueMessage(HostCore& core, const DispatchArguments& arguments) {
    OutgoingMessage message;
    std::string* fields[] = {&message.to,  &message.subject,        &message.cc,
                             &message.bcc, &message.attachmentPath, &message.body};
    if (arguments.size() != std::size(fields)) return WrongArguments();
    for (size_t i = 0; i < std::size(fields); ++i) {
      if (!arguments[i].IsEmpty() && !TextArgument(arguments, i, *fields[i])) return WrongArguments();
    }
    uint32_t messageId = 0;
    StoreStatus status = core.QueueMessage(message, &messageId);
    if (!status.ok) return Failed(status);
    return DispatchResult::Success(MakeMessageObject(WeakCore(), kOutMailboxId, messageId));
  }
};

}  // namespace

platform::DispatchPointer MakeApplicationObject(std::weak_ptr<HostCore> core) {
  return std::make_shared<ApplicationObject>(std::move(core));
}

}  // namespace tarnwick::host
