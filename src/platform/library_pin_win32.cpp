#include "platform/library_pin.h"

#include <windows.h>

namespace tarnwick::platform {
namespace {

HMODULE ModuleHolding(const void* address, DWORD flags) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | flags, static_cast<LPCWSTR>(address), &module)) {
    return nullptr;
  }
  return module;
}

}  // namespace

void KeepLibraryLoaded(const void* symbol) {
  const DWORD lookOnly = GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  HMODULE holder = ModuleHolding(symbol, lookOnly);
  // A library linked statically lives in this module (or the program): there is nothing apart to keep.
  if (holder == nullptr || holder == GetModuleHandleW(nullptr) ||
      holder == ModuleHolding(reinterpret_cast<const void*>(&KeepLibraryLoaded), lookOnly)) {
    return;
  }
  ModuleHolding(symbol, GET_MODULE_HANDLE_EX_FLAG_PIN);
}

ModuleSelfHold::ModuleSelfHold() : module_(ModuleHolding(reinterpret_cast<const void*>(&KeepLibraryLoaded), 0)) {}

ModuleSelfHold::~ModuleSelfHold() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

}  // namespace tarnwick::platform
