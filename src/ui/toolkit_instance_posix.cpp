// The toolkit's libraries are shared with a host that has windows (it made the application);
// without one, an application that needs no display is enough for the queued events.
#include "ui/toolkit_instance.h"

#include <wx/init.h>

namespace tarnwick::ui {

bool StartOwnToolkit() {
  return wxInitialize();
}

void StopOwnToolkit() {
  wxUninitialize();
}

// The application started here needs no display: a host with windows would have made its own.
bool HostShowsWindowsBesideOwnToolkit() {
  return false;
}

}  // namespace tarnwick::ui
