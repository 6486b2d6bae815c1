#pragma once

#include "platform/dynamic_library.h"
#include "platform/ems_records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::host {

/// A Special-menu entry or a translator of a module: the number the module knows it by, and its name.
struct PluginEntry {
  int32_t id = 0;
  std::string name;
};

/// One plug-in module loaded and initialised through the plug-in interface.
struct LoadedPlugin {
  std::string file;  // the module's path
  platform::DynamicLibrary library;
  std::string description;
  std::vector<PluginEntry> specialMenuEntries;  // entry 1 first
  std::vector<PluginEntry> translators;         // descriptions, translator 1 first
  EmsPluginFinishFunction finish = nullptr;
  EmsFreeFunction release = nullptr;
  EmsSpecialHookFunction specialHook = nullptr;
  EmsCanTranslateFunction canTranslate = nullptr;
  EmsTranslateFileFunction translateFile = nullptr;
  bool finished = false;
};

/// The plug-in modules of a folder, loaded for the life of the set: every "*.so" is opened, asked
/// for its interface version, initialised with the folder as its configuration folder, and asked
/// for its Special-menu entries and translators. A module that is not a shared library, lacks an
/// entry point it needs or fails is reported with its file name and left out; the others go on.
/// Destroying the set finishes every module and unloads it. Use from one thread.
class PluginSet {
public:
  /// Loads the modules of `folder` (a missing folder holds none); each problem becomes one line
  /// of `problems`.
  PluginSet(const std::string& folder, std::vector<std::string>& problems);
  ~PluginSet();
  PluginSet(const PluginSet&) = delete;
  PluginSet& operator=(const PluginSet&) = delete;

  const std::vector<LoadedPlugin>& Plugins() const { return plugins_; }
  /// Tells every module that the host is finishing (ems_plugin_finish, once each, the last loaded
  /// first) while they stay loaded, so a GUI can take their windows down before they are unloaded.
  void FinishAll();
  /// The address of an extra export of the first module that has it (names beginning with the
  /// module's own prefix, such as "tarnwick_"), or null.
  void* FindExport(const char* name) const;

private:
  bool Load(const std::string& file, const std::string& folder, std::string& problem);

  std::vector<LoadedPlugin> plugins_;
};

}  // namespace tarnwick::host
