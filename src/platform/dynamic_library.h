#pragma once

#include <string>

namespace tarnwick::platform {

/// A loaded module (shared library), unloaded with the object unless released.
class DynamicLibrary {
public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  /// Loads the module at the UTF-8 `path`, resolving its symbols now; a library that is not loaded,
  /// with the system's reason in `errorText`, when it cannot.
  static DynamicLibrary Load(const std::string& path, std::string& errorText);

  /// True while the module is loaded.
  bool IsLoaded() const { return handle_ != nullptr; }
  /// The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  /// Unloads the module now.
  void Unload();
  /// Leaves the module loaded for the rest of the process.
  void Release() { handle_ = nullptr; }

private:
  void* handle_ = nullptr;
};

/// The address of a symbol that the running program itself exports, or null.
void* ProgramSymbol(const char* name);

/// True when a library of the file name `fileName` ("libx.so", "x.dll") is loaded in this process,
/// also under a versioned name ("libx.so.3"), whoever loaded it; loads nothing.
bool LibraryInProcess(const std::string& fileName);

/// How the names of loadable modules end here (".so", ".dll").
const char* ModuleFileExtension();

/// The file name of the module built as `name` here: "libtarnwick.so", "tarnwick.dll".
std::string ModuleFileName(const std::string& name);

}  // namespace tarnwick::platform
