// The plug-ins verb, and the loading of the plug-ins that every verb using them shares.
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"
#include "core/plugin_set.h"

#include <ostream>

namespace tarnwick::host {

std::unique_ptr<PluginSet> LoadPlugins(VerbContext& context) {
  std::vector<std::string> problems;
  auto plugins = std::make_unique<PluginSet>(context.pluginsFolder, problems);
  for (const std::string& problem : problems)
    context.err << kProgramName << ": " << kPluginSkippedText << problem << "\n";
  return plugins;
}

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

}  // namespace tarnwick::host
