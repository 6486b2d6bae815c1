#include "cli/command_line.h"

#include "cli/cli_texts.h"
#include "cli/verbs.h"
#include "core/host_registry.h"

#include <algorithm>
#include <exception>
#include <ostream>

namespace tarnwick::host {
namespace {

struct ParsedCommandLine {
  std::string dataFolder;
  std::string pluginsFolder;
  bool automationAllowed = true;
  bool help = false;
  std::string verb;
  std::vector<std::string> verbArguments;
};

void PrintUsage(std::ostream& stream) {
  stream << kUsageHead;
  for (const Verb& verb : Verbs()) {
    std::string line = std::string(verb.name) + (*verb.argumentsText ? " " : "") + verb.argumentsText;
    stream << "  " << line << std::string(line.size() < 28 ? 28 - line.size() : 1, ' ') << verb.summary << "\n";
  }
  stream << kUsageTail;
}

int UsageError(std::ostream& err, const std::string& text) {
  err << kProgramName << ": " << text << "\n" << kSeeHelpText << "\n";
  return kExitUsage;
}

// Options come before the verb; everything after the verb belongs to it. False after reporting.
bool Parse(const std::vector<std::string>& arguments, ParsedCommandLine& parsed, std::ostream& err) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      parsed.help = true;
    } else if (argument == "--no-automation") {
      parsed.automationAllowed = false;
    } else if (argument == "--data-folder") {
      if (i + 1 == arguments.size()) {
        UsageError(err, kMissingValueText + argument);
        return false;
      }
      parsed.dataFolder = arguments[++i];
    } else if (argument == "--plugins-folder") {
      if (i + 1 == arguments.size()) {
        UsageError(err, kMissingValueText + argument);
        return false;
      }
      parsed.pluginsFolder = arguments[++i];
    } else if (argument.starts_with("--data-folder=")) {
      parsed.dataFolder = argument.substr(std::string("--data-folder=").size());
    } else if (argument.starts_with("-") && argument != "-") {
      UsageError(err, kUnknownOptionText + argument);
      return false;
    } else {
      parsed.verb = argument;
      parsed.verbArguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
      break;
    }
  }
  return true;
}

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, const GuiRunner& gui) {
  ParsedCommandLine parsed;
  if (!Parse(arguments, parsed, err)) return kExitUsage;
  if (parsed.help || (parsed.verb.empty() && parsed.dataFolder.empty())) {
    PrintUsage(out);
    return kExitSuccess;
  }
  if (parsed.verb.empty()) parsed.verb = kGuiVerbName;
  const std::vector<Verb>& verbs = Verbs();
  auto verb =
      std::find_if(verbs.begin(), verbs.end(), [&](const Verb& candidate) { return parsed.verb == candidate.name; });
  if (verb == verbs.end()) return UsageError(err, kUnknownVerbText + parsed.verb);
  if (parsed.verbArguments.size() < verb->minimumArguments || parsed.verbArguments.size() > verb->maximumArguments) {
    return UsageError(err, std::string(kWrongArgumentCountText) + verb->name + " " + verb->argumentsText);
  }
  if (parsed.dataFolder.empty()) return UsageError(err, kNoDataFolderText);

  HostOptions options;
  options.automationAllowed = parsed.automationAllowed;
  std::string errorText;
  std::shared_ptr<HostCore> core = HostCore::Open(parsed.dataFolder, options, errorText);
  if (!core) {
    err << kProgramName << ": " << errorText << "\n";
    return kExitFailure;
  }
  PublishHost(core);
  std::string pluginsFolder = parsed.pluginsFolder.empty() ? parsed.dataFolder + "/plugins" : parsed.pluginsFolder;
  VerbContext context{*core, parsed.verbArguments, out, err, pluginsFolder, gui ? &gui : nullptr};
  int code = verb->run(context);
  WithdrawHost(core.get());
  out.flush();
  return code;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const GuiRunner& gui) {
  try {
    return Run(arguments, out, err, gui);
  } catch (const std::exception& error) {
    err << kProgramName << ": " << kUnexpectedFailureText << error.what() << "\n";
  } catch (...) {
    err << kProgramName << ": " << kUnexpectedFailureText << "?\n";
  }
  return kExitFailure;
}

}  // namespace tarnwick::host
