#include "platform/dynamic_library.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <utility>

namespace tarnwick::platform {
namespace {

std::string LastErrorText() {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message =
      length > 0 ? Utf8FromWide(std::wstring_view(text, length)) : "error " + std::to_string(GetLastError());
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

HMODULE Module(void* handle) {
  return static_cast<HMODULE>(handle);
}

}  // namespace

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

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& errorText) {
  DynamicLibrary library;
  // The modules a plug-in brings with it are found beside it, not in the host's folder.
  library.handle_ = LoadLibraryExW(WidePath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library.handle_ == nullptr) errorText = path + ": " + LastErrorText();
  return library;
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? reinterpret_cast<void*>(GetProcAddress(Module(handle_), name)) : nullptr;
}

void DynamicLibrary::Unload() {
  if (handle_ != nullptr) FreeLibrary(Module(std::exchange(handle_, nullptr)));
}

void* ProgramSymbol(const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), name));
}

const char* ModuleFileExtension() {
  return ".dll";
}

std::string ModuleFileName(const std::string& name) {
  return name + ModuleFileExtension();
}

}  // namespace tarnwick::platform
