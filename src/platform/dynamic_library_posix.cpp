#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <link.h>

#include <string_view>

#include <utility>

namespace tarnwick::platform {

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& errorText) {
  DynamicLibrary library;
  library.handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library.handle_ == nullptr) {
    const char* reason = dlerror();
    errorText = reason != nullptr ? reason : path;
  }
  return library;
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

void DynamicLibrary::Unload() {
  if (handle_ != nullptr) dlclose(std::exchange(handle_, nullptr));
}

void* ProgramSymbol(const char* name) {
  return dlsym(RTLD_DEFAULT, name);
}

bool LibraryInProcess(const std::string& fileName) {
  struct Search {
    std::string_view wanted;
    bool found = false;
  } search{fileName};
  // The loader lists every object of the process, whatever scope it was loaded in, by the path it
  // was found under: the versioned name a program or library asked for ("libx.so.3").
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto& search = *static_cast<Search*>(data);
        std::string_view path = info->dlpi_name != nullptr ? info->dlpi_name : "";
        std::string_view name = path.substr(path.rfind('/') + 1);
        search.found = name.starts_with(search.wanted) &&
                       (name.size() == search.wanted.size() || name[search.wanted.size()] == '.');
        return search.found ? 1 : 0;
      },
      &search);
  return search.found;
}

const char* ModuleFileExtension() {
  return ".so";
}

std::string ModuleFileName(const std::string& name) {
  return "lib" + name + ModuleFileExtension();
}

}  // namespace tarnwick::platform
