#include "platform/file_io.h"

#include <cstring>

namespace tarnwick::platform {

std::string SystemErrorText(int errorNumber) {
  char buffer[256];
  // The GNU variant returns the text, which may or may not be the buffer.
  return strerror_r(errorNumber, buffer, sizeof buffer);
}

}  // namespace tarnwick::platform
