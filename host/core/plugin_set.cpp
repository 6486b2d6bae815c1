#include "core/plugin_set.h"

#include "platform/folder_listing.h"

#include <algorithm>
#include <memory>

namespace tarnwick::host {
namespace {

// The interface version this host speaks.
constexpr int16_t kHostInterfaceVersion = 4;

template <typename Function>
Function Symbol(const platform::DynamicLibrary& library, const char* name) {
  return reinterpret_cast<Function>(library.Symbol(name));
}

std::vector<std::string> ModuleFiles(const std::string& folder) {
  std::vector<std::string> files;
  const std::string extension = platform::ModuleFileExtension();
  for (const std::string& name : platform::ListFolder(folder).value_or(std::vector<std::string>())) {
    if (name.size() > extension.size() && name.ends_with(extension)) files.push_back(folder + "/" + name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Takes a text the module allocated and gives it back to the module.
std::string TakeText(char* text, EmsFreeFunction release) {
  std::string copy = text != nullptr ? text : "";
  if (text != nullptr) release(text);
  return copy;
}

void ReadSpecialMenu(LoadedPlugin& plugin, int32_t count, EmsSpecialInfoFunction info) {
  for (int32_t id = 1; id <= count; ++id) {
    EmsMenu menu{sizeof(EmsMenu), id, nullptr, nullptr, 0};
    if (info(nullptr, &menu) != 0) continue;
    plugin.specialMenuEntries.push_back({id, TakeText(menu.name, plugin.release)});
    if (menu.icon != nullptr) plugin.release(menu.icon);
  }
}

void ReadTranslators(LoadedPlugin& plugin, int32_t count, EmsTranslatorInfoFunction info) {
  for (int32_t id = 1; id <= count; ++id) {
    EmsTranslator translator{sizeof(EmsTranslator), id, 0, 0, nullptr, nullptr};
    if (info(nullptr, &translator) != 0) continue;
    plugin.translators.push_back({id, TakeText(translator.description, plugin.release)});
    if (translator.icon != nullptr) plugin.release(translator.icon);
  }
}

}  // namespace

PluginSet::PluginSet(const std::string& folder, std::vector<std::string>& problems) {
  for (const std::string& file : ModuleFiles(folder)) {
    std::string problem;
    if (!Load(file, folder, problem)) problems.push_back(file + ": " + problem);
  }
}

PluginSet::~PluginSet() {
  FinishAll();
  for (auto plugin = plugins_.rbegin(); plugin != plugins_.rend(); ++plugin) plugin->library.Unload();
}

void PluginSet::FinishAll() {
  for (auto plugin = plugins_.rbegin(); plugin != plugins_.rend(); ++plugin) {
    if (plugin->finished) continue;
    plugin->finished = true;
    plugin->finish(nullptr);
  }
}

bool PluginSet::Load(const std::string& file, const std::string& folder, std::string& problem) {
  std::string reason;
  platform::DynamicLibrary library = platform::DynamicLibrary::Load(file, reason);
  if (!library.IsLoaded()) {
    problem = "not a loadable plug-in: " + reason;
    return false;
  }
  LoadedPlugin plugin;
  plugin.file = file;
  plugin.library = std::move(library);
  const platform::DynamicLibrary& handle = plugin.library;
  auto version = Symbol<EmsPluginVersionFunction>(handle, "ems_plugin_version");
  auto init = Symbol<EmsPluginInitFunction>(handle, "ems_plugin_init");
  plugin.finish = Symbol<EmsPluginFinishFunction>(handle, "ems_plugin_finish");
  plugin.release = Symbol<EmsFreeFunction>(handle, "ems_free");
  int16_t moduleVersion = 0;
  if (version == nullptr || init == nullptr || plugin.finish == nullptr || plugin.release == nullptr) {
    problem = "a plug-in entry point is missing (ems_plugin_version, ems_plugin_init, ems_plugin_finish, ems_free)";
  } else if (version(&moduleVersion) != 0 || moduleVersion < 1) {
    problem = "it reports no usable interface version";
  }
  if (!problem.empty()) return false;
  std::string configFolder = folder;
  EmsMailConfig config{sizeof(EmsMailConfig), nullptr, configFolder.data()};
  EmsPluginInfo info{};
  info.size = sizeof(EmsPluginInfo);
  if (init(nullptr, kHostInterfaceVersion, &config, &info) != 0) {
    problem = "its initialisation failed";
    plugin.finish(nullptr);
    return false;
  }
  plugin.description = TakeText(info.description, plugin.release);
  if (info.icon != nullptr) plugin.release(info.icon);
  auto specialInfo = Symbol<EmsSpecialInfoFunction>(handle, "ems_special_info");
  plugin.specialHook = Symbol<EmsSpecialHookFunction>(handle, "ems_special_hook");
  if (specialInfo != nullptr) ReadSpecialMenu(plugin, info.numSpecials, specialInfo);
  auto translatorInfo = Symbol<EmsTranslatorInfoFunction>(handle, "ems_translator_info");
  if (translatorInfo != nullptr) ReadTranslators(plugin, info.numTranslators, translatorInfo);
  plugin.canTranslate = Symbol<EmsCanTranslateFunction>(handle, "ems_can_translate");
  plugin.translateFile = Symbol<EmsTranslateFileFunction>(handle, "ems_translate_file");
  plugins_.push_back(std::move(plugin));
  return true;
}

void* PluginSet::FindExport(const char* name) const {
  for (const LoadedPlugin& plugin : plugins_) {
    if (void* address = plugin.library.Symbol(name)) return address;
  }
  return nullptr;
}

}  // namespace tarnwick::host
