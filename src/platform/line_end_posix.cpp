#include "platform/line_end.h"

namespace tarnwick::platform {

const char* NativeLineEnd() {
  return "\n";
}

}  // namespace tarnwick::platform
