#include "platform/process.h"

#include <io.h>
#include <windows.h>

namespace tarnwick::platform {

long CurrentProcessId() {
  return static_cast<long>(GetCurrentProcessId());
}

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

}  // namespace tarnwick::platform
