#pragma once

#include <string>
#include <vector>

namespace tarnwick::host {

/// The program's arguments as the system holds them (UTF-16), each turned into UTF-8, the
/// encoding of every text and path inside the host; the program's name left out.
std::vector<std::string> SystemArgumentsAsUtf8();

/// Makes the console show UTF-8 and the standard streams write bytes as given: the verbs write the
/// same bytes as on other systems, line ends as LF, never turned into CR LF.
void PrepareStandardStreams();

}  // namespace tarnwick::host
