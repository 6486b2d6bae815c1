// tarnwick-host on Windows with its windows: the command line, and without a verb the host's frame.
#include "cli/command_line.h"
#include "gui/host_gui.h"
#include "windows/system_arguments.h"

#include <iostream>

int main() {
  tarnwick::host::PrepareStandardStreams();
  return tarnwick::host::RunCommandLine(tarnwick::host::SystemArgumentsAsUtf8(), std::cout, std::cerr,
                                        tarnwick::host::gui::RunHostGui, tarnwick::host::gui::ShowNotice);
}
