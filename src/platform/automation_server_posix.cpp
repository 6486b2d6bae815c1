#include "platform/automation_server.h"

namespace tarnwick::platform {

// Plug-ins find the host through the connect function that the host program exports (host_connect.h).
std::unique_ptr<AutomationServer> ServeAutomation(const std::string& /*progId*/, DispatchPointer /*application*/,
                                                  AutomationRefusal /*refusal*/, std::string& /*errorText*/) {
  return std::make_unique<AutomationServer>();
}

}  // namespace tarnwick::platform
