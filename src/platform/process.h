#pragma once

#include <cstdio>

namespace tarnwick::platform {

/// The system's number of the running process.
long CurrentProcessId();

/// True when the stream writes to a terminal, where lines can be redrawn in place.
bool IsTerminal(std::FILE* stream);

/// Makes standard output and standard error write the bytes given, with no line end turned into
/// another (the runtime of Windows writes LF as CR LF unless told).
void WriteStandardStreamsAsBytes();

}  // namespace tarnwick::platform
