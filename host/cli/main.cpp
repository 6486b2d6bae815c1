#include "cli/command_line.h"
#include "cli/host_windows.h"

#include <iostream>
#include <string>
#include <vector>

// The leak checker of the sanitizer build: fontconfig, under the windows, keeps its font cache for
// the life of the process and never frees it; that is the toolkit's, not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return tarnwick::host::RunCommandLine(arguments, std::cout, std::cerr, tarnwick::host::RunHostWindows,
                                        tarnwick::host::ShowHostNotice);
}
