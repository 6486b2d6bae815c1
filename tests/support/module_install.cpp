#include "support/module_install.h"

#include "plugin/windows_library_entries.h"

#include <filesystem>

namespace tarnwick::test {

void InstallModule(const std::string& moduleFile, const std::string& pluginsFolder) {
  const std::filesystem::path module(moduleFile);
  std::filesystem::copy_file(module, std::filesystem::path(pluginsFolder) / module.filename(),
                             std::filesystem::copy_options::overwrite_existing);
  const std::filesystem::path windows = module.parent_path() / plugin::kWindowsLibraryFolderName;
  if (std::filesystem::is_directory(windows)) {
    std::filesystem::copy(windows, std::filesystem::path(pluginsFolder) / plugin::kWindowsLibraryFolderName,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace tarnwick::test
