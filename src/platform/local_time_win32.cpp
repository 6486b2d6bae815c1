#include "platform/local_time.h"

namespace tarnwick::platform {

bool LocalTimeParts(std::time_t instant, std::tm& parts) {
  const __time64_t wide = instant;
  return _localtime64_s(&parts, &wide) == 0;
}

}  // namespace tarnwick::platform
