#pragma once

#include "cli/command_line.h"
#include "core/host_core.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::host {

class PluginSet;

/// What a verb runs with: the open host, its own arguments and the two output streams.
struct VerbContext {
  HostCore& core;
  const std::vector<std::string>& arguments;
  std::ostream& out;
  std::ostream& err;
  std::string pluginsFolder;       ///< where the plug-in modules lie
  const GuiRunner* gui = nullptr;  ///< what runs the windows; null in a program without them
};

/// A verb's function; returns the exit code.
using VerbFunction = int (*)(VerbContext& context);

/// One headless verb of the command line.
struct Verb {
  const char* name;
  const char* argumentsText;  ///< as the usage shows them
  const char* summary;
  size_t minimumArguments;
  size_t maximumArguments;
  VerbFunction run;
  /// The exit status when the data folder cannot be opened: the verbs a timer runs on feeds
  /// count it as a set-up error (kExitUsage), as they do a missing plug-in.
  int setUpFailure = kExitFailure;
};

/// Every verb, in the order the usage lists them.
const std::vector<Verb>& Verbs();

int RunMailboxesVerb(VerbContext& context);
int RunMessagesVerb(VerbContext& context);
int RunShowVerb(VerbContext& context);
int RunCreateMailboxVerb(VerbContext& context);
int RunMoveVerb(VerbContext& context);
int RunLeftOutVerb(VerbContext& context);
int RunAutomationVerb(VerbContext& context);
int RunPluginsVerb(VerbContext& context);
int RunCheckVerb(VerbContext& context);
int RunTickVerb(VerbContext& context);
int RunGuiVerb(VerbContext& context);
int RunAddVerb(VerbContext& context);
int RunRemoveVerb(VerbContext& context);
int RunFeedsVerb(VerbContext& context);

/// The format with each "%s" replaced by the next of `values`.
std::string Fill(const char* format, const std::vector<std::string>& values);
/// Reports an error the usual way ("tarnwick-host: text") and gives kExitFailure.
int ReportFailure(VerbContext& context, const std::string& text);
/// Reports a wrong command line as the options do (the text, then where to find help) and gives kExitUsage.
int ReportUsageError(VerbContext& context, const std::string& text);
/// Loads the plug-ins of the plug-ins folder, reporting the modules left out on the error stream.
std::unique_ptr<PluginSet> LoadPlugins(VerbContext& context);
/// The mailbox named by a display name or a relative path; 0 after reporting when there is none.
int32_t ResolveMailbox(VerbContext& context, const std::string& nameOrPath);
/// A message id given on the command line; false after reporting when it is not a number.
bool ParseMessageId(VerbContext& context, const std::string& text, uint32_t* id);

}  // namespace tarnwick::host
