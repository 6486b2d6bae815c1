#include "core/automation_objects.h"
#include "core/automation_support.h"
#include "core/host_texts.h"
#include "core/mbox_format.h"
#include "platform/dispatch_ids.h"

#include <mutex>

namespace tarnwick::host {
namespace {

using platform::DispatchArguments;
using platform::DispatchResult;

const char* HeaderNameOf(int32_t field) {
  switch (field) {
    case platform::kHeaderTo:
      return "To";
    case platform::kHeaderFrom:
      return "From";
    case platform::kHeaderSubject:
      return "Subject";
    case platform::kHeaderCc:
      return "Cc";
    case platform::kHeaderBcc:
      return "Bcc";
    case platform::kHeaderDate:
      return "Date";
    case platform::kHeaderReplyTo:
      return "Reply-To";
    case platform::kHeaderMessageId:
      return "Message-Id";
    default:
      return nullptr;
  }
}

// One message. After a move it stands for the message in its new mailbox.
class MessageObject : public HostObject {
public:
  MessageObject(std::weak_ptr<HostCore> core, int32_t mailboxId, uint32_t messageId)
      : HostObject(std::move(core)), mailboxId_(mailboxId), messageId_(messageId) {}

protected:
  DispatchResult Handle(HostCore& core, RequestKind kind, int32_t id, const DispatchArguments& arguments) override {
    std::lock_guard lock(mutex_);
    if (kind == RequestKind::kPut) {
      int32_t state = 0;
      if (id != platform::kMessageStatus) return UnknownMember();
      if (!NumberArgument(arguments, 0, state)) return WrongArguments();
      if (state < 0 || state > INT16_MAX) return DispatchResult::Failure(kBadStateText);
      StoreStatus status = core.Store().SetMessageState(mailboxId_, messageId_, static_cast<int16_t>(state));
      return status.ok ? DispatchResult::Success() : Failed(status);
    }
    switch (id) {
      case platform::kMessageId:
        return DispatchResult::Success(static_cast<int32_t>(messageId_));
      case platform::kMessageStatus: {
        int16_t state = 0;
        StoreStatus status = core.Store().MessageState(mailboxId_, messageId_, &state);
        return status.ok ? DispatchResult::Success(int32_t{state}) : Failed(status);
      }
      case platform::kMessageMove:
        return Move(core, arguments);
      case platform::kMessageBody:
      case platform::kMessageHeaderField:
      case platform::kMessageRawText:
      case platform::kMessageSubject:
        return ReadText(core, id, arguments);
      default:
        return UnknownMember();
    }
  }

private:
  DispatchResult ReadText(HostCore& core, int32_t id, const DispatchArguments& arguments) {
    const char* headerName = "Subject";
    int32_t field = 0;
    if (id == platform::kMessageHeaderField) {
      if (!NumberArgument(arguments, 0, field) || (headerName = HeaderNameOf(field)) == nullptr) {
        return WrongArguments();
      }
    }
    std::string stored;
    if (id == platform::kMessageHeaderField && field == platform::kHeaderMessageId) {
      // Asked of every message of a newsbox on every check: answered without reading the message.
      StoreStatus status = core.Store().MessageIdValue(mailboxId_, messageId_, stored);
      return status.ok ? DispatchResult::Success(stored) : Failed(status);
    }
    StoreStatus status = core.Store().ReadMessage(mailboxId_, messageId_, stored);
    if (!status.ok) return Failed(status);
    StoredMessageParts parts = SplitStoredMessage(stored);
    switch (id) {
      case platform::kMessageBody:
        return DispatchResult::Success(ReadableBody(parts.body));
      case platform::kMessageRawText:
        return DispatchResult::Success(std::string(parts.headerBlock) + UnescapeBody(parts.body));
      default:
        return DispatchResult::Success(HeaderValue(parts.headerBlock, headerName));
    }
  }

  DispatchResult Move(HostCore& core, const DispatchArguments& arguments) {
    if (arguments.size() != 1) return WrongArguments();
    int32_t targetId = FolderIdOf(arguments[0].Object(), &core);
    if (targetId == 0) return DispatchResult::Failure(kMoveTargetText);
    uint32_t newId = 0;
    StoreStatus status = core.Store().MoveMessage(mailboxId_, messageId_, targetId, &newId);
    if (!status.ok) return Failed(status);
    mailboxId_ = targetId;
    messageId_ = newId;
    return DispatchResult::Success();
  }

  std::mutex mutex_;
  int32_t mailboxId_;
  uint32_t messageId_;
};

}  // namespace

platform::DispatchPointer MakeMessageObject(std::weak_ptr<HostCore> core, int32_t mailboxId, uint32_t messageId) {
  return std::make_shared<MessageObject>(std::move(core), mailboxId, messageId);
}

}  // namespace tarnwick::host
