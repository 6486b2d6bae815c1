#pragma once

#include <cstdio>

namespace tarnwick::platform {

/// The system's number of the running process.
long CurrentProcessId();

/// True when the stream writes to a terminal, where lines can be redrawn in place.
bool IsTerminal(std::FILE* stream);

}  // namespace tarnwick::platform
