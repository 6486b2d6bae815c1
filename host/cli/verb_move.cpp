#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"

#include <ostream>

namespace tarnwick::host {

// Moves a message the way plug-ins have the host move them, and prints its id in the target.
int RunMoveVerb(VerbContext& context) {
  int32_t fromId = ResolveMailbox(context, context.arguments[0]);
  if (fromId == 0) return kExitFailure;
  uint32_t messageId = 0;
  if (!ParseMessageId(context, context.arguments[1], &messageId)) return kExitFailure;
  int32_t toId = ResolveMailbox(context, context.arguments[2]);
  if (toId == 0) return kExitFailure;
  uint32_t newId = 0;
  StoreStatus status = context.core.Store().MoveMessage(fromId, messageId, toId, &newId);
  if (!status.ok) return ReportFailure(context, status.errorText);
  context.out << newId << '\n';
  return kExitSuccess;
}

}  // namespace tarnwick::host
