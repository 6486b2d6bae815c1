#include "plugin/startup.h"

#include "check/stored_proxy.h"
#include "platform/dynamic_library.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "platform/version_resource.h"
#include "plugin/plugin_names.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <cstdio>

namespace tarnwick::plugin {
namespace {

constexpr size_t kMaxDataFolderLength = 255;

// The text with every occurrence of `part` removed, found without regard to case.
std::string RemoveIgnoringCase(const std::string& text, const std::string& part) {
  const std::string lowerText = platform::ToLowerAscii(text);
  const std::string lowerPart = platform::ToLowerAscii(part);
  std::string result;
  size_t start = 0;
  for (size_t found = lowerText.find(lowerPart); found != std::string::npos; found = lowerText.find(lowerPart, start)) {
    result.append(text, start, found - start);
    start = found + part.size();
  }
  return result + text.substr(start);
}

// The host keeps its settings file beside its executable. Another program's executable is read
// as it is, and being no settings file, it names no data folder.
std::string HostSettingsPath(const std::string& hostExecutablePath) {
  size_t slash = hostExecutablePath.rfind('/');
  std::string folder = slash == std::string::npos ? "" : hostExecutablePath.substr(0, slash + 1);
  std::string name = hostExecutablePath.substr(folder.size());
  if (!platform::EqualsIgnoreCase(name, kHostExecutableName)) return hostExecutablePath;
  return folder + store::kHostSettingsFileName;
}

// Loads the HTML-cleaning module and lets it initialise itself; false when anything fails.
bool RegisterTidyModule(const std::string& tidyPath) {
  if (!store::FileExists(tidyPath)) return false;
  std::string ignored;
  platform::DynamicLibrary module = platform::DynamicLibrary::Load(tidyPath, ignored);
  if (!module.IsLoaded()) return false;
  using RegisterFunction = int32_t (*)();
  auto registerServer = reinterpret_cast<RegisterFunction>(module.Symbol(kTidyRegisterFunction));
  if (registerServer == nullptr || registerServer() < 0) return false;
  module.Release();  // the module stays loaded for the life of the process
  return true;
}

}  // namespace

std::string VersionTextOf(const std::string& productVersion) {
  int major = 0;
  int minor = 0;
  if (std::sscanf(productVersion.c_str(), "%d,%d", &major, &minor) != 2) return {};
  return "Version: " + std::to_string(major) + "." + std::to_string(minor);
}

std::string FindHostDataFolder(const std::string& settingsPath, const std::string& hostExecutablePath) {
  const std::string programFolder =
      RemoveIgnoringCase(settingsPath, std::string("/") + kPluginsFolderName + "/" + kSettingsFileName);
  const std::string hostSettings = HostSettingsPath(hostExecutablePath);
  if (!store::FileExists(hostSettings)) return programFolder;
  std::string dataFolder = platform::IniFile(hostSettings)
                               .Read(store::kHostSettingsSection, store::kHostDataFolderKey)
                               .value_or("")
                               .substr(0, kMaxDataFolderLength);
  while (dataFolder.size() > 1 && dataFolder.back() == '/') dataFolder.pop_back();
  return store::FolderExists(dataFolder) ? dataFolder : programFolder;
}

std::string FillContext(PluginContext& context, int16_t hostApiVersion, const std::string& configFolder,
                        const std::string& hostExecutablePath) {
  context.hostApiVersion = hostApiVersion;
  context.pluginFolder = configFolder;
  while (context.pluginFolder.size() > 1 && context.pluginFolder.back() == '/') context.pluginFolder.pop_back();
  const std::string& folder = context.pluginFolder;
  context.settingsPath = folder + "/" + kSettingsFileName;
  context.scratchFeedPath = folder + "/" + kScratchFeedFileName;
  context.modulePath = folder + "/" + platform::ModuleFileName(kModuleName);

  context.productName.clear();
  context.versionText.clear();
  if (auto version = platform::ReadVersionResource(context.modulePath)) {
    context.productName = version->productName;
    context.versionText = VersionTextOf(version->productVersion);
  }

  context.hostDataFolder = FindHostDataFolder(context.settingsPath, hostExecutablePath);
  context.inMailboxPath = context.hostDataFolder + "/In.mbx";
  context.outMailboxPath = context.hostDataFolder + "/Out.mbx";
  context.tidyPath = folder + "/" + kTidyModuleName + platform::ModuleFileExtension();
  context.tidyRegistered = RegisterTidyModule(context.tidyPath);
  context.helpPath = folder + "/" + kHelpFolderName;
  check::UseStoredProxy(store::SettingsStore(context.settingsPath));
  return context.productName + ", " + context.versionText;
}

}  // namespace tarnwick::plugin
