#include "platform/host_connect.h"

namespace tarnwick::platform {

AutomationConnectResult ConnectAutomationServer(const std::string& progId) {
  HostConnection connection = ConnectThroughHostProgram(progId);
  if (connection.errorText.empty() && connection.application == nullptr) {
    connection.errorText = "The host refused the connection to \"" + progId + "\" without giving a reason.";
  }
  if (!connection.errorText.empty()) return {nullptr, connection.errorText};
  return {connection.application, {}};
}

}  // namespace tarnwick::platform
