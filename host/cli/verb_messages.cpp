#include "cli/command_line.h"
#include "cli/verbs.h"
#include "core/mbox_format.h"

#include <ostream>

namespace tarnwick::host {
namespace {

std::string StateName(int16_t state) {
  switch (state) {
    case kStateUnread:
      return "unread";
    case kStateRead:
      return "read";
    case kStateReplied:
      return "replied";
    case kStateForwarded:
      return "forwarded";
    case kStateSent:
      return "sent";
    case kStateUnsent:
      return "unsent";
    default:
      return std::to_string(state);
  }
}

}  // namespace

// One line per message in mailbox order: id, state, subject, from, date, separated by tabs (the
// texts as the table of contents keeps them).
int RunMessagesVerb(VerbContext& context) {
  int32_t mailboxId = ResolveMailbox(context, context.arguments[0]);
  if (mailboxId == 0) return kExitFailure;
  std::vector<MessageInfo> messages;
  StoreStatus status = context.core.Store().ListMessages(mailboxId, messages);
  if (!status.ok) return ReportFailure(context, status.errorText);
  for (const MessageInfo& message : messages) {
    context.out << message.id << '\t' << StateName(message.state) << '\t' << OneLine(message.summary.subject) << '\t'
                << OneLine(message.summary.from) << '\t' << OneLine(message.summary.date) << '\n';
  }
  return kExitSuccess;
}

}  // namespace tarnwick::host
