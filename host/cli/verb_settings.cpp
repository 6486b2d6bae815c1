#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"

#include <ostream>

namespace tarnwick::host {

int RunLeftOutVerb(VerbContext& context) {
  int32_t id = context.core.Store().FindMailboxOrFolder(context.arguments[0]);
  if (id == 0) {
    return ReportFailure(context,
                         Fill(kNoSuchMailboxOrFolderText, {context.arguments[0], context.core.Store().DataFolder()}));
  }
  const std::string& answer = context.arguments[1];
  if (answer != "yes" && answer != "no") return ReportFailure(context, Fill(kYesOrNoText, {answer}));
  StoreStatus status = context.core.Store().SetLeftOut(id, answer == "yes");
  return status.ok ? kExitSuccess : ReportFailure(context, status.errorText);
}

int RunAutomationVerb(VerbContext& context) {
  MailStore& store = context.core.Store();
  if (!context.arguments.empty()) {
    const std::string& answer = context.arguments[0];
    if (answer != "on" && answer != "off") return ReportFailure(context, Fill(kOnOrOffText, {answer}));
    StoreStatus status = store.SetAutomationEnabled(answer == "on");
    if (!status.ok) return ReportFailure(context, status.errorText);
  }
  context.out << (store.AutomationEnabled() ? kAutomationStateOnText : kAutomationStateOffText) << '\n';
  return kExitSuccess;
}

}  // namespace tarnwick::host
