#include "platform/local_time.h"

namespace tarnwick::platform {

bool LocalTimeParts(std::time_t instant, std::tm& parts) {
  return localtime_r(&instant, &parts) != nullptr;
}

}  // namespace tarnwick::platform
