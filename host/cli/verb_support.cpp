#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"
#include "platform/text.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ostream>

namespace tarnwick::host {

const std::vector<Verb>& Verbs() {
  static const std::vector<Verb> verbs = {
      {kGuiVerbName, "", "open the host's windows (what runs when no verb is given)", 0, 0, RunGuiVerb},
      {"mailboxes", "", "list every mailbox and folder: path, id, messages, unread", 0, 0, RunMailboxesVerb},
      {"messages", "MAILBOX", "list the messages of a mailbox: id, state, subject, from, date", 1, 1, RunMessagesVerb},
      {"show", "MAILBOX ID", "print a message as it is stored", 2, 2, RunShowVerb},
      {"create-mailbox", "NAME", "add a new top-level mailbox", 1, 1, RunCreateMailboxVerb},
      {"move", "MAILBOX ID TARGET", "move a message into another mailbox; prints its new id", 3, 3, RunMoveVerb},
      {"left-out", "MAILBOX yes|no", "leave a mailbox or folder out of plug-ins' lists, or not", 2, 2, RunLeftOutVerb},
      {"automation", "[on|off]", "show, or switch, whether plug-ins may use the automation server", 0, 1,
       RunAutomationVerb},
      {"plugins", "", "load the plug-ins and list them: file, description, menu entries, translators", 0, 0,
       RunPluginsVerb},
      {"check", "[--quiet] [ALIAS...]",
       "check the named feeds (all when none is named) and deliver their new articles; with --quiet, print only "
       "the feeds that failed and the count of new articles",
       0, SIZE_MAX, RunCheckVerb, kExitUsage},
      {"tick", "", "fetch the feeds that are due as in the background, then deliver what was fetched", 0, 0,
       RunTickVerb, kExitUsage},
      {"add", kAddArgumentsText,
       "add a feed delivering into the newsbox NAME (the alias when not named), refused as Feed Properties refuses "
       "it; with --first, its first check delivers only its N newest articles",
       2, 6, RunAddVerb, kExitUsage},
      {"remove", "ALIAS", "remove a feed; its newsbox and the messages in it stay", 1, 1, RunRemoveVerb, kExitUsage},
      {"feeds", "", "list every feed: alias, newsbox, last article, last check, last problem", 0, 0, RunFeedsVerb,
       kExitUsage},
  };
  return verbs;
}

std::string Fill(const char* format, const std::vector<std::string>& values) {
  return platform::FillText(format, values);
}

int ReportFailure(VerbContext& context, const std::string& text) {
  context.err << kProgramName << ": " << text << "\n";
  return kExitFailure;
}

int ReportUsageError(VerbContext& context, const std::string& text) {
  context.err << kProgramName << ": " << text << "\n" << kSeeHelpText << "\n";
  return kExitUsage;
}

int32_t ResolveMailbox(VerbContext& context, const std::string& nameOrPath) {
  int32_t id = context.core.Store().FindMailbox(nameOrPath);
  if (id == 0) ReportFailure(context, Fill(kNoSuchMailboxText, {nameOrPath, context.core.Store().DataFolder()}));
  return id;
}

bool ParseMessageId(VerbContext& context, const std::string& text, uint32_t* id) {
  char* end = nullptr;
  errno = 0;
  unsigned long value = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || value == 0 || value > UINT32_MAX) {
    ReportFailure(context, Fill(kBadMessageIdText, {text}));
    return false;
  }
  *id = static_cast<uint32_t>(value);
  return true;
}

}  // namespace tarnwick::host
