// The published host and the function through which plug-ins connect to it. The function is
// exported from the host program (it is linked with its symbols exported) and plug-ins look it up
// by name at every connection, so a plug-in never links against the host. Where the system has a
// table of running automation servers (COM on Windows), the application object is published there
// too, and plug-ins connect to it as they connect to the real mail client.
#include "core/host_registry.h"

#include "core/host_core.h"
#include "core/host_texts.h"
#include "platform/automation_server.h"
#include "platform/dispatch_ids.h"
#include "platform/host_connect.h"
#include "platform/symbol_export.h"
#include "platform/text.h"

#include <iostream>
#include <mutex>

namespace tarnwick::host {
namespace {

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

std::weak_ptr<HostCore>& Published() {
  static std::weak_ptr<HostCore> host;
  return host;
}

std::unique_ptr<platform::AutomationServer>& PublishedServer() {
  static std::unique_ptr<platform::AutomationServer> server;
  return server;
}

std::shared_ptr<HostCore> CurrentHost() {
  std::lock_guard guard(RegistryLock());
  return Published().lock();
}

bool Connect(const char* service, platform::HostConnection* connection) {
  std::shared_ptr<HostCore> core = CurrentHost();
  if (!core) {
    connection->errorText = kNotRunningText;
    return false;
  }
  std::string name = service == nullptr ? "" : service;
  if (name == platform::kHostWindowsService) {
    connection->windows = MakeHostWindows(core->Windows());
    return true;
  }
  // ProgIDs name their server without regard to letter case.
  if (!platform::EqualsIgnoreCase(name, platform::kMailAutomationProgId)) {
    connection->errorText = UnknownServerText(name);
    return false;
  }
  std::string refusal = core->AutomationRefusal();
  if (!refusal.empty()) {
    connection->errorText = refusal;
    return false;
  }
  connection->application = core->Application();
  return true;
}

}  // namespace

void PublishHost(const std::shared_ptr<HostCore>& core) {
  std::lock_guard guard(RegistryLock());
  Published() = core;
  PublishedServer().reset();
  std::weak_ptr<HostCore> weak = core;
  auto refusal = [weak] {
    std::shared_ptr<HostCore> host = weak.lock();
    return host ? host->AutomationRefusal() : std::string(kNotRunningText);
  };
  std::string errorText;
  PublishedServer() =
      platform::ServeAutomation(platform::kMailAutomationProgId, core->Application(), refusal, errorText);
  // Without the publication, plug-ins fail to connect and say so; the host itself runs on.
  if (!PublishedServer()) std::cerr << errorText << '\n';
}

void WithdrawHost(const HostCore* core) {
  std::lock_guard guard(RegistryLock());
  if (Published().lock().get() != core) return;
  Published().reset();
  PublishedServer().reset();
}

}  // namespace tarnwick::host

TARNWICK_SYMBOL_EXPORT bool host_connect_service(const char* service, tarnwick::platform::HostConnection* connection) {
  if (connection == nullptr) return false;
  try {
    return tarnwick::host::Connect(service, connection);
  } catch (...) {
    connection->errorText = tarnwick::host::kConnectFailedText;
    return false;
  }
}
