#include "platform/file_io.h"

#include <cstring>
#include <mutex>

namespace tarnwick::platform {

std::string SystemErrorText(int errorNumber) {
  // The runtime's text table is shared; one reader at a time.
  static std::mutex lock;
  std::lock_guard guard(lock);
  return std::strerror(errorNumber);
}

}  // namespace tarnwick::platform
