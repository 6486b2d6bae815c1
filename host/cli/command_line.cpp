#include "cli/command_line.h"

#include "cli/cli_texts.h"
#include "cli/verbs.h"
#include "core/data_folder_lock.h"
#include "core/host_registry.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <ostream>

namespace tarnwick::host {
namespace {

struct ParsedCommandLine {
  std::string dataFolder;
  std::string pluginsFolder;
  bool automationAllowed = true;
  std::chrono::seconds lockWait = kDataFolderLockWait;
  bool help = false;
  std::string verb;
  std::vector<std::string> verbArguments;
};

constexpr long kLongestLockWaitSeconds = 86400;

constexpr size_t kSummaryColumn = 30;
constexpr size_t kUsageWidth = 100;

// The summary's words in lines of at most kUsageWidth columns, each after kSummaryColumn blanks.
std::string WrappedSummary(const std::string& summary) {
  const std::string indent(kSummaryColumn, ' ');
  std::string text;
  size_t lineLength = kSummaryColumn;
  for (size_t start = 0; start < summary.size();) {
    size_t end = std::min(summary.find(' ', start), summary.size());
    const std::string word = summary.substr(start, end - start);
    if (lineLength > kSummaryColumn && lineLength + 1 + word.size() > kUsageWidth) {
      text += "\n" + indent;
      lineLength = kSummaryColumn;
    } else if (lineLength > kSummaryColumn) {
      text += ' ';
      ++lineLength;
    }
    text += word;
    lineLength += word.size();
    start = end + 1;
  }
  return text;
}

void PrintUsage(std::ostream& stream) {
  stream << Fill(kUsageHead, {std::to_string(kDataFolderLockWait.count())});
  for (const Verb& verb : Verbs()) {
    std::string line = "  " + std::string(verb.name) + (*verb.argumentsText ? " " : "") + verb.argumentsText;
    line += line.size() < kSummaryColumn ? std::string(kSummaryColumn - line.size(), ' ')
                                         : "\n" + std::string(kSummaryColumn, ' ');
    stream << line << WrappedSummary(verb.summary) << "\n";
  }
  stream << kUsageTail;
}

int UsageError(std::ostream& err, const std::string& text) {
  err << kProgramName << ": " << text << "\n" << kSeeHelpText << "\n";
  return kExitUsage;
}

// A --lock-wait value: digits only, at most a day. False when it is anything else.
bool ParseLockWait(const std::string& text, std::chrono::seconds& wait) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  long seconds = std::stol(text);
  if (seconds > kLongestLockWaitSeconds) return false;
  wait = std::chrono::seconds(seconds);
  return true;
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
    } else if (argument == "--lock-wait") {
      if (i + 1 == arguments.size()) {
        UsageError(err, kMissingValueText + argument);
        return false;
      }
      if (!ParseLockWait(arguments[++i], parsed.lockWait)) {
        UsageError(err, Fill(kBadLockWaitText, {arguments[i]}));
        return false;
      }
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

// Takes the data folder's lock for the rest of the run, saying so through `say` when it has to
// wait for another host. kExitSuccess when it holds the lock, else the exit code after reporting
// why not (`setUpFailure` when the lock file cannot be used at all).
int LockDataFolder(DataFolderLock& lock, const ParsedCommandLine& parsed, int setUpFailure,
                   const std::function<void(const std::string&)>& say) {
  const std::string seconds = std::to_string(parsed.lockWait.count());
  auto holder = [&] {
    long id = lock.HolderProcessId();
    return id > 0 ? Fill(kLockHolderText, {std::to_string(id)}) : std::string();
  };
  std::function<void()> waiting;
  if (parsed.lockWait.count() > 0) {
    waiting = [&] { say(Fill(kWaitingForLockText, {parsed.dataFolder, holder(), seconds})); };
  }
  switch (lock.Take(parsed.lockWait, waiting)) {
    case LockOutcome::kTaken:
      return kExitSuccess;
    case LockOutcome::kFailed:
      say(lock.ErrorText());
      return setUpFailure;
    case LockOutcome::kBusy:
      break;
  }
  say(Fill(kLockBusyText, {parsed.dataFolder, holder(), seconds}));
  return kExitBusy;
}

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, const GuiRunner& gui,
        const GuiNotice& notice) {
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
  // Someone who opens the windows reads no standard error: a wait for another host is shown.
  const bool showLockTexts = notice && parsed.verb == kGuiVerbName;
  const auto say = [&](const std::string& text) {
    err << kProgramName << ": " << text << std::endl;
    if (showLockTexts) notice(text);
  };
  DataFolderLock lock(parsed.dataFolder);
  if (int code = LockDataFolder(lock, parsed, verb->setUpFailure, say); code != kExitSuccess) return code;

  HostOptions options;
  options.automationAllowed = parsed.automationAllowed;
  std::string errorText;
  std::shared_ptr<HostCore> core = HostCore::Open(parsed.dataFolder, options, errorText);
  if (!core) {
    err << kProgramName << ": " << errorText << "\n";
    return verb->setUpFailure;
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
                   const GuiRunner& gui, const GuiNotice& notice) {
  try {
    return Run(arguments, out, err, gui, notice);
  } catch (const std::exception& error) {
    err << kProgramName << ": " << kUnexpectedFailureText << error.what() << "\n";
  } catch (...) {
    err << kProgramName << ": " << kUnexpectedFailureText << "?\n";
  }
  return kExitFailure;
}

}  // namespace tarnwick::host
