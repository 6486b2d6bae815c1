// tarnwick-feeds: lists, imports and exports the feeds of a settings file, without the host.
#include "feeds_texts.h"
#include "feeds_verbs.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace tarnwick::tools {
namespace {

struct CommandLine {
  std::string settingsPath;
  std::string dataFolder;
  std::vector<std::string> words;  // the verb and its arguments
};

// False when an option lacks its value or is not known.
bool Parse(int argc, char** argv, CommandLine& line) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--settings" || argument == "--data-folder") {
      if (i + 1 >= argc) return false;
      (argument == "--settings" ? line.settingsPath : line.dataFolder) = argv[++i];
    } else if (argument.starts_with("--")) {
      return false;
    } else {
      line.words.push_back(argument);
    }
  }
  // The older form: the settings file alone.
  if (line.settingsPath.empty() && line.words.size() == 1) {
    line.settingsPath = line.words.front();
    line.words.clear();
  }
  return !line.settingsPath.empty();
}

// The folder above "plugins/tarnwick.ini", where the host keeps its mailboxes; empty when the
// settings file lies elsewhere.
std::string DataFolderOf(const std::string& settingsPath) {
  const std::string tail = std::string("plugins/") + store::kSettingsFileName;
  if (settingsPath.size() < tail.size()) return {};
  const size_t at = settingsPath.size() - tail.size();
  if (!platform::EqualsIgnoreCase(std::string_view(settingsPath).substr(at), tail)) return {};
  if (at == 0) return ".";
  if (settingsPath[at - 1] != '/') return {};
  return at == 1 ? "/" : settingsPath.substr(0, at - 1);
}

int Usage() {
  std::fputs(kUsage, stderr);
  return kUsageError;
}

int Refuse(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", kProgramName, text.c_str());
  return kUsageError;
}

int Run(const CommandLine& line) {
  const std::vector<std::string>& words = line.words;
  if (words.empty() || (words[0] == "list" && words.size() == 1)) return ListFeeds(line.settingsPath);
  if (words[0] == "export" && words.size() <= 2) {
    return ExportFeeds(line.settingsPath, words.size() == 2 ? words[1] : "");
  }
  if (words[0] != "import" || words.size() != 2) return Usage();
  const std::string dataFolder = line.dataFolder.empty() ? DataFolderOf(line.settingsPath) : line.dataFolder;
  if (dataFolder.empty()) return Refuse(kNoDataFolder);
  // The host names its mailboxes by full path, and a feed finds its newsbox by that path first.
  const std::string fullDataFolder = platform::AbsolutePath(dataFolder);
  if (!store::FolderExists(fullDataFolder)) return Refuse(kMissingDataFolderPrefix + dataFolder);
  return ImportFeeds(line.settingsPath, fullDataFolder, words[1]);
}

}  // namespace
}  // namespace tarnwick::tools

int main(int argc, char** argv) try {
  tarnwick::tools::CommandLine line;
  if (!tarnwick::tools::Parse(argc, argv, line)) return tarnwick::tools::Usage();
  return tarnwick::tools::Run(line);
} catch (const std::exception& error) {
  std::fprintf(stderr, "%s: %s\n", tarnwick::tools::kProgramName, error.what());
  return tarnwick::tools::kFailed;
}
