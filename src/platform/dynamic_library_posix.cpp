#include "platform/dynamic_library.h"

#include <dlfcn.h>

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

const char* ModuleFileExtension() {
  return ".so";
}

std::string ModuleFileName(const std::string& name) {
  return "lib" + name + ModuleFileExtension();
}

}  // namespace tarnwick::platform
