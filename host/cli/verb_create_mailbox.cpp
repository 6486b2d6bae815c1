#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"

#include <ostream>

namespace tarnwick::host {

// Adds a top-level mailbox and prints its path and id; a name in use is an error here.
int RunCreateMailboxVerb(VerbContext& context) {
  const std::string& name = context.arguments[0];
  int32_t id = 0;
  bool created = false;
  StoreStatus status = context.core.Store().Create(0, name, true, &id, &created);
  if (!status.ok) return ReportFailure(context, status.errorText);
  if (!created) return ReportFailure(context, Fill(kExistsText, {name}));
  std::optional<MailboxInfo> info = context.core.Store().Info(id);
  context.out << (info ? info->relativePath : name) << '\t' << id << '\n';
  return kExitSuccess;
}

}  // namespace tarnwick::host
