// The program's display on Windows is the desktop the program runs on (under Wine, the X display
// Wine was started on, given by the test command): nothing to start here.
#include "gui_support/test_display.h"

namespace tarnwick::test {

bool StartTestDisplay() {
  return true;
}

void StopTestDisplay() {}

void EndTestDisplayAtOnce() {}

}  // namespace tarnwick::test
