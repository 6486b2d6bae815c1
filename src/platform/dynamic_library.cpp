#include "platform/dynamic_library.h"

#include <utility>

namespace tarnwick::platform {

DynamicLibrary::~DynamicLibrary() {
  Unload();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

}  // namespace tarnwick::platform
