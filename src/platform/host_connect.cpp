#include "platform/host_connect.h"

#include "platform/dynamic_library.h"

namespace tarnwick::platform {
namespace {

constexpr char kNoHostText[] =
    "No mail client in this process provides the service \"%s\": the program was not started by a "
    "host that offers automation to its plug-ins.";
constexpr char kRefusedWithoutReasonText[] = "The host refused the connection to \"%s\" without giving a reason.";
constexpr char kHostFailedText[] = "The host failed while connecting to \"%s\".";

std::string Fill(const char* format, const std::string& service) {
  std::string text = format;
  std::string::size_type at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, service);
  return text;
}

}  // namespace

// Looked up at every call: a host may come and go while the plug-in is loaded, and a program
// without a host must fail here instead of at load time.
HostConnection ConnectThroughHostProgram(const std::string& service) {
  HostConnection connection;
  auto function = reinterpret_cast<HostConnectFunction>(ProgramSymbol(kHostConnectSymbol));
  if (function == nullptr) {
    connection.errorText = Fill(kNoHostText, service);
    return connection;
  }
  bool connected = false;
  try {
    connected = function(service.c_str(), &connection);
  } catch (...) {
    connection = {};
    connection.errorText = Fill(kHostFailedText, service);
    return connection;
  }
  if (!connected) {
    connection.application = nullptr;
    connection.windows = nullptr;
    if (connection.errorText.empty()) connection.errorText = Fill(kRefusedWithoutReasonText, service);
  }
  return connection;
}

HostWindowsConnectResult ConnectHostWindows() {
  HostConnection connection = ConnectThroughHostProgram(kHostWindowsService);
  if (connection.errorText.empty() && connection.windows == nullptr) {
    connection.errorText = Fill(kRefusedWithoutReasonText, kHostWindowsService);
  }
  if (!connection.errorText.empty()) return {nullptr, connection.errorText};
  return {connection.windows, {}};
}

}  // namespace tarnwick::platform
