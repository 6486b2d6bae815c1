#include "cli/cli_texts.h"
#include "cli/verbs.h"

namespace tarnwick::host {

int RunGuiVerb(VerbContext& context) {
  if (context.gui == nullptr || !*context.gui) return ReportFailure(context, kNoWindowsText);
  return (*context.gui)(context.core, context.pluginsFolder, context.err);
}

}  // namespace tarnwick::host
