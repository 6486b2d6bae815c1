#include "platform/library_pin.h"

#include <dlfcn.h>

namespace tarnwick::platform {

void KeepLibraryLoaded(const void* symbol) {
  Dl_info library{};
  if (dladdr(symbol, &library) == 0 || library.dli_fname == nullptr) return;
  if (void* handle = dlopen(library.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE)) dlclose(handle);
}

ModuleSelfHold::ModuleSelfHold() = default;

ModuleSelfHold::~ModuleSelfHold() = default;

}  // namespace tarnwick::platform
