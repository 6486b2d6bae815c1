#pragma once

#include "platform/dispatch.h"
#include "platform/host_windows.h"

#include <string>

namespace tarnwick::platform {

/// What a host hands to a plug-in that connects to one of its services.
struct HostConnection {
  DispatchPointer application;  ///< the automation server's application object
  HostWindowsPointer windows;   ///< the host's windows
  std::string errorText;        ///< why the connection was refused
};

/// The function that a host program exports, under kHostConnectSymbol, for the plug-ins it loads:
/// fills `connection` for the service named (an automation ProgID or kHostWindowsService) and
/// returns true, or sets its errorText and returns false. It never throws.
using HostConnectFunction = bool (*)(const char* service, HostConnection* connection);

/// The exported name of the host's HostConnectFunction.
inline constexpr char kHostConnectSymbol[] = "host_connect_service";
/// The service name of the host's windows.
inline constexpr char kHostWindowsService[] = "Host.Windows";

/// The outcome of connecting to an automation server.
struct [[nodiscard]] AutomationConnectResult {
  DispatchPointer application;  ///< null when the connection failed
  std::string errorText;        ///< the reason, when it failed
};

/// The outcome of connecting to the host's windows.
struct [[nodiscard]] HostWindowsConnectResult {
  HostWindowsPointer windows;  ///< null when the connection failed
  std::string errorText;       ///< the reason, when it failed
};

/// Asks the connect function of the host program in this process for `service`, looked up afresh
/// on every call. errorText says why it failed: no host program provides one, or the host refused.
HostConnection ConnectThroughHostProgram(const std::string& service);

/// Connects to the running automation server that serves `progId`: on Windows the one that the
/// running object table holds, elsewhere the host program's in this process. Fails with a readable
/// text when none runs, or when the host refuses (automation switched off, unknown ProgID).
AutomationConnectResult ConnectAutomationServer(const std::string& progId);

/// Connects to the windows of the host program in this process; fails when there is none.
HostWindowsConnectResult ConnectHostWindows();

}  // namespace tarnwick::platform
