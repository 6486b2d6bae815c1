#include "platform/process.h"

#include <unistd.h>

namespace tarnwick::platform {

long CurrentProcessId() {
  return static_cast<long>(getpid());
}

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) == 1;
}

void WriteStandardStreamsAsBytes() {
  // Streams here write bytes as they are.
}

}  // namespace tarnwick::platform
