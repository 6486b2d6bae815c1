#include "cli/command_line.h"
#include "gui/host_gui.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return tarnwick::host::RunCommandLine(arguments, std::cout, std::cerr, tarnwick::host::gui::RunHostGui);
}
