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

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& errorText) {
  DynamicLibrary library;
  // The modules a plug-in brings with it are found beside it, not in the host's folder.
  library.handle_ = LoadLibraryExW(WidePath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library.handle_ == nullptr) {
    // Some of the system's texts name the file with a placeholder ("Bad EXE format for %1.").
    std::string reason = LastErrorText();
    if (const size_t placeholder = reason.find("%1"); placeholder != std::string::npos) {
      reason.replace(placeholder, 2, "the file");
    }
    errorText = path + ": " + reason;
  }
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

bool LibraryInProcess(const std::string& fileName) {
  return GetModuleHandleW(WidePath(fileName).c_str()) != nullptr;
}

const char* ModuleFileExtension() {
  return ".dll";
}

std::string ModuleFileName(const std::string& name) {
  return name + ModuleFileExtension();
}

}  // namespace tarnwick::platform
