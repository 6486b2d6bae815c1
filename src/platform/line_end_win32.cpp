#include "platform/line_end.h"

namespace tarnwick::platform {

const char* NativeLineEnd() {
  return "\r\n";
}

}  // namespace tarnwick::platform
