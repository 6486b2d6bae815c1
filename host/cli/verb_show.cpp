#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"

#include <ostream>

namespace tarnwick::host {

// The message's bytes exactly as the mailbox file holds them, separator line included.
int RunShowVerb(VerbContext& context) {
  int32_t mailboxId = ResolveMailbox(context, context.arguments[0]);
  uint32_t messageId = 0;
  if (mailboxId == 0 || !ParseMessageId(context, context.arguments[1], &messageId)) return kExitFailure;
  std::string bytes;
  StoreStatus status = context.core.Store().ReadMessage(mailboxId, messageId, bytes);
  if (!status.ok) {
    std::vector<MessageInfo> messages;
    if (context.core.Store().ListMessages(mailboxId, messages).ok) {
      return ReportFailure(context, Fill(kNoSuchMessageText, {context.arguments[1], context.arguments[0]}));
    }
    return ReportFailure(context, status.errorText);
  }
  context.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return kExitSuccess;
}

}  // namespace tarnwick::host
