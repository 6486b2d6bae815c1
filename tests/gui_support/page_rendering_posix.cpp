#include "gui_support/page_rendering.h"

namespace tarnwick::test {

// WebKitGTK, on the program's own display.
bool WebPagesRender() {
  return true;
}

}  // namespace tarnwick::test
