// Verbs that load the plug-ins: list them, and run the checks a plug-in offers for scripted use.
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"
#include "core/plugin_set.h"

#include <cstdio>
#include <ostream>

namespace tarnwick::host {
namespace {

using CheckFeedsFunction = int32_t (*)(const char* const* aliases, int32_t count);
using BackgroundTickFunction = int32_t (*)();

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

// Loads the plug-ins, reporting the modules left out on the error stream.
std::unique_ptr<PluginSet> LoadPlugins(VerbContext& context) {
  std::vector<std::string> problems;
  auto plugins = std::make_unique<PluginSet>(context.pluginsFolder, problems);
  for (const std::string& problem : problems) context.err << kProgramName << ": " << kPluginSkippedText << problem << "\n";
  return plugins;
}

// The plug-in's exit status as the command line's: anything but success is a failed verb.
int ExitCodeOf(int32_t pluginResult) {
  std::fflush(stdout);
  return pluginResult == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace

int RunPluginsVerb(VerbContext& context) {
  auto plugins = LoadPlugins(context);
  if (plugins->Plugins().empty()) context.out << Fill(kNoPluginsText, {context.pluginsFolder}) << "\n";
  for (const LoadedPlugin& plugin : plugins->Plugins()) {
    context.out << plugin.file << "\n  " << kDescriptionLabel << plugin.description << "\n";
    for (const PluginEntry& entry : plugin.specialMenuEntries) {
      context.out << "  " << kSpecialMenuLabel << entry.name << "\n";
    }
    for (const PluginEntry& translator : plugin.translators) {
      context.out << "  " << kTranslatorLabel << translator.name << "\n";
    }
  }
  return kExitSuccess;
}

int RunCheckVerb(VerbContext& context) {
  auto plugins = LoadPlugins(context);
  auto check = reinterpret_cast<CheckFeedsFunction>(plugins->FindExport("tarnwick_CheckFeeds"));
  if (check == nullptr) return ReportFailure(context, Fill(kNoCheckingPluginText, {context.pluginsFolder}));
  std::vector<const char*> aliases;
  for (const std::string& alias : context.arguments) aliases.push_back(alias.c_str());
  StatusEcho echo(context.core, context.out);
  context.out.flush();
  return ExitCodeOf(check(aliases.data(), static_cast<int32_t>(aliases.size())));
}

int RunTickVerb(VerbContext& context) {
  auto plugins = LoadPlugins(context);
  auto tick = reinterpret_cast<BackgroundTickFunction>(plugins->FindExport("tarnwick_BackgroundTick"));
  if (tick == nullptr) return ReportFailure(context, Fill(kNoCheckingPluginText, {context.pluginsFolder}));
  StatusEcho echo(context.core, context.out);
  context.out.flush();
  return ExitCodeOf(tick());
}

}  // namespace tarnwick::host
