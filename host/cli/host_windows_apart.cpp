// The program whose windows are a library beside it (gui/host_windows_entries.cpp), loaded only
// when they open: the command line's verbs never load the toolkit and the libraries under it. The
// library finds the host's core among the program's exported symbols.
#include "cli/host_windows.h"

#include "cli/cli_texts.h"
#include "platform/dynamic_library.h"
#include "platform/file_system.h"

#include <ostream>

namespace tarnwick::host {
namespace {

std::string WindowsLibraryPath() {
  const std::string program = platform::ExecutablePath();
  return program.substr(0, program.rfind('/') + 1) + platform::ModuleFileName(kHostWindowsLibraryName);
}

// The library's entry `name`, or null with the reason. Once loaded the library stays for the rest of
// the process: the toolkit under it is not made to be unloaded.
template <typename Function>
Function WindowsEntry(const char* name, std::string& reason) {
  platform::DynamicLibrary library = platform::DynamicLibrary::Load(WindowsLibraryPath(), reason);
  auto entry = reinterpret_cast<Function>(library.Symbol(name));
  if (entry == nullptr && reason.empty()) reason = WindowsLibraryPath() + ": no " + name;
  if (entry != nullptr) library.Release();
  return entry;
}

}  // namespace

int RunHostWindows(HostCore& core, const std::string& pluginsFolder, std::ostream& err) {
  std::string reason;
  auto run = WindowsEntry<RunHostWindowsFunction>(kRunHostWindowsEntry, reason);
  if (run == nullptr) {
    err << kProgramName << ": " << kWindowsNotLoadedText << reason << "\n";
    return 1;
  }
  return run(&core, pluginsFolder.c_str(), &err);
}

void ShowHostNotice(const std::string& text) {
  std::string reason;
  if (auto show = WindowsEntry<ShowHostNoticeFunction>(kShowHostNoticeEntry, reason)) show(text.c_str());
}

}  // namespace tarnwick::host
