// Verbs that reach the feeds of a plug-in that offers them (Tarnwick) through its extra exports:
// check, tick, add, remove and the feed list. Their exit status is the plug-in's: 0 done, 1 some
// feed failed or the plug-in refused, 2 when nothing could be done (no such plug-in, not set up,
// an unknown alias, a wrong command line).
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"
#include "core/plugin_set.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>

namespace tarnwick::host {
namespace {

using CheckFeedsFunction = int32_t (*)(const char* const* aliases, int32_t count, int32_t quiet);
using BackgroundTickFunction = int32_t (*)();
using AddFeedFunction = int32_t (*)(const char* alias, const char* url, const char* newsbox, int32_t firstCheck);
using RemoveFeedFunction = int32_t (*)(const char* alias);
using ListFeedsFunction = int32_t (*)();

// Shows the main window's status text on the terminal whenever a plug-in changes it.
class StatusEcho {
public:
  StatusEcho(HostCore& core, std::ostream& out) : core_(core) {
    core.Windows()->SetChangeListener([this, &out] {
      std::string text = core_.Windows()->StatusText();
      if (text == shown_) return;
      shown_ = text;
      std::fflush(stdout);
      out << kStatusBarPrefix << text << std::endl;
    });
  }
  ~StatusEcho() { core_.Windows()->SetChangeListener({}); }

private:
  HostCore& core_;
  std::string shown_;
};

// The plug-in's result as the command line's exit status.
int ExitCodeOf(int32_t pluginResult) {
  std::fflush(stdout);
  if (pluginResult == 0) return kExitSuccess;
  return pluginResult == 1 ? kExitFailure : kExitUsage;
}

// The export `name` of the loaded plug-ins, as a function of type F; null after reporting.
template <typename F>
F FindFeedExport(VerbContext& context, const PluginSet& plugins, const char* name) {
  auto function = reinterpret_cast<F>(plugins.FindExport(name));
  if (function == nullptr) {
    context.err << kProgramName << ": " << Fill(kNoCheckingPluginText, {context.pluginsFolder}) << "\n";
  }
  context.out.flush();
  return function;
}

// The feed an "add" names: ALIAS URL [NEWSBOX] [--newsbox NAME] [--first N], options anywhere
// after the verb.
struct AddArguments {
  std::vector<std::string> positional;  // alias, URL and perhaps the newsbox
  std::string newsbox;
  int32_t first = 0;
};

// Reports a wrong command line; false.
bool WrongCommandLine(VerbContext& context, const std::string& text) {
  ReportUsageError(context, text);
  return false;
}

// Reads the value of an option of "add"; false after reporting.
bool ReadAddOption(VerbContext& context, const std::string& option, const std::string& value, AddArguments& parsed) {
  if (option == kNewsboxOption) {
    if (value.empty()) return WrongCommandLine(context, kNewsboxOptionText);
    parsed.newsbox = value;
    return true;
  }
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  if (end == value.c_str() || *end != '\0' || number < 1 || number > INT32_MAX) {
    return WrongCommandLine(context, Fill(kFirstOptionText, {value}));
  }
  parsed.first = static_cast<int32_t>(number);
  return true;
}

// False after reporting a wrong command line.
bool ParseAddArguments(VerbContext& context, AddArguments& parsed) {
  const std::vector<std::string>& arguments = context.arguments;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!argument.starts_with("--")) {
      parsed.positional.push_back(argument);
    } else if (argument != kNewsboxOption && argument != kFirstOption) {
      return WrongCommandLine(context, kUnknownOptionText + argument);
    } else if (i + 1 == arguments.size()) {
      return WrongCommandLine(context, kMissingValueText + argument);
    } else if (!ReadAddOption(context, argument, arguments[++i], parsed)) {
      return false;
    }
  }
  if (parsed.positional.size() < 2 || parsed.positional.size() > 3) {
    return WrongCommandLine(context, std::string(kWrongArgumentCountText) + "add " + kAddArgumentsText);
  }
  if (parsed.positional.size() == 3) {
    if (!parsed.newsbox.empty()) {
      return WrongCommandLine(context, Fill(kNewsboxTwiceText, {parsed.positional[2], parsed.newsbox}));
    }
    parsed.newsbox = parsed.positional[2];
    if (parsed.newsbox.empty()) return WrongCommandLine(context, kNewsboxOptionText);
  }
  return true;
}

}  // namespace

int RunCheckVerb(VerbContext& context) {
  bool quiet = false;
  std::vector<const char*> aliases;
  for (const std::string& argument : context.arguments) {
    if (argument == kQuietOption) {
      quiet = true;
    } else {
      aliases.push_back(argument.c_str());
    }
  }
  auto plugins = LoadPlugins(context);
  auto check = FindFeedExport<CheckFeedsFunction>(context, *plugins, "tarnwick_CheckFeeds");
  if (check == nullptr) return kExitUsage;
  std::optional<StatusEcho> echo;
  if (!quiet) echo.emplace(context.core, context.out);
  return ExitCodeOf(check(aliases.data(), static_cast<int32_t>(aliases.size()), quiet ? 1 : 0));
}

int RunTickVerb(VerbContext& context) {
  auto plugins = LoadPlugins(context);
  auto tick = FindFeedExport<BackgroundTickFunction>(context, *plugins, "tarnwick_BackgroundTick");
  if (tick == nullptr) return kExitUsage;
  StatusEcho echo(context.core, context.out);
  return ExitCodeOf(tick());
}

int RunAddVerb(VerbContext& context) {
  AddArguments parsed;
  if (!ParseAddArguments(context, parsed)) return kExitUsage;
  auto plugins = LoadPlugins(context);
  auto add = FindFeedExport<AddFeedFunction>(context, *plugins, "tarnwick_AddFeed");
  if (add == nullptr) return kExitUsage;
  return ExitCodeOf(
      add(parsed.positional[0].c_str(), parsed.positional[1].c_str(), parsed.newsbox.c_str(), parsed.first));
}

int RunRemoveVerb(VerbContext& context) {
  auto plugins = LoadPlugins(context);
  auto remove = FindFeedExport<RemoveFeedFunction>(context, *plugins, "tarnwick_RemoveFeed");
  if (remove == nullptr) return kExitUsage;
  return ExitCodeOf(remove(context.arguments[0].c_str()));
}

int RunFeedsVerb(VerbContext& context) {
  auto plugins = LoadPlugins(context);
  auto list = FindFeedExport<ListFeedsFunction>(context, *plugins, "tarnwick_ListFeeds");
  if (list == nullptr) return kExitUsage;
  return ExitCodeOf(list());
}

}  // namespace tarnwick::host
