// tarnwick-host on Windows, built without the windows (wxMSW not built on this machine): the
// command line alone.
#include "cli/command_line.h"
#include "windows/system_arguments.h"

#include <iostream>

int main() {
  tarnwick::host::PrepareStandardStreams();
  return tarnwick::host::RunCommandLine(tarnwick::host::SystemArgumentsAsUtf8(), std::cout, std::cerr);
}
