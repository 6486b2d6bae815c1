#include "windows/system_arguments.h"

#include "platform/process.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace tarnwick::host {
namespace {

std::string Utf8Of(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();  // the terminating zero
  return bytes;
}

}  // namespace

std::vector<std::string> SystemArgumentsAsUtf8() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) arguments.push_back(Utf8Of(words[i]));
  LocalFree(words);
  return arguments;
}

void PrepareStandardStreams() {
  SetConsoleOutputCP(CP_UTF8);
  platform::WriteStandardStreamsAsBytes();
}

}  // namespace tarnwick::host
