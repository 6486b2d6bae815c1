// A minimal plug-in module: loaded into a host program, it connects to the host's automation
// server and windows the way Tarnwick's module does, by looking the host's function up by name.
#include "platform/dispatch_ids.h"
#include "platform/host_connect.h"

#include <cstring>
#include <string>

extern "C" __attribute__((visibility("default"))) int probe_set_status_text(const char* text, char* error,
                                                                            unsigned long errorSize) {
  tarnwick::platform::AutomationConnectResult connection =
      tarnwick::platform::ConnectAutomationServer(tarnwick::platform::kMailAutomationProgId);
  std::string reason = connection.errorText;
  bool done = false;
  if (connection.application) {
    tarnwick::platform::DispatchResult result =
        connection.application->Put(tarnwick::platform::kApplicationStatusText, text);
    done = result.ok;
    reason = result.errorText;
  }
  std::strncpy(error, reason.c_str(), errorSize - 1);
  error[errorSize - 1] = '\0';
  return done ? 1 : 0;
}

extern "C" __attribute__((visibility("default"))) int probe_window_count() {
  tarnwick::platform::HostWindowsConnectResult connection = tarnwick::platform::ConnectHostWindows();
  if (!connection.windows) return -1;
  return static_cast<int>(connection.windows->MailboxWindowTitles().size());
}
