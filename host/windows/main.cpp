// tarnwick-host on Windows: the command line without the windows (the toolkit is not built for
// this system yet). The arguments are taken from the system in UTF-16 and passed on as UTF-8, the
// encoding of every text and path inside the host; what it prints goes out as bytes.
#include "cli/command_line.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/process.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

std::string Utf8Of(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();  // the terminating zero
  return bytes;
}

std::vector<std::string> Utf8Arguments() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) arguments.push_back(Utf8Of(words[i]));
  LocalFree(words);
  return arguments;
}

}  // namespace

int main() {
  SetConsoleOutputCP(CP_UTF8);
  // The verbs write the same bytes as on other systems: line ends as LF, never turned into CR LF.
  tarnwick::platform::WriteStandardStreamsAsBytes();
  return tarnwick::host::RunCommandLine(Utf8Arguments(), std::cout, std::cerr);
}
