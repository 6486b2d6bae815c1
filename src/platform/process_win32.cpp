#include "platform/process.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tarnwick::platform {

long CurrentProcessId() {
  return static_cast<long>(GetCurrentProcessId());
}

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

void WriteStandardStreamsAsBytes() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace tarnwick::platform
