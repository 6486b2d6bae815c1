#pragma once

#include "platform/dispatch.h"

#include <functional>
#include <memory>
#include <string>

namespace tarnwick::platform {

/// Why plug-ins may not use the automation server at this moment; empty when they may.
using AutomationRefusal = std::function<std::string()>;

/// While it lives, the application object is published where the system's plug-ins look for the
/// automation server of a running mail client. Destroyed, it is withdrawn.
class AutomationServer {
public:
  virtual ~AutomationServer() = default;
};

/// Publishes `application` under `progId` for plug-ins in this process and for other programs.
/// Each connection asks `refusal` first and fails with its text when it is not empty. Null (with
/// `errorText`) when the system refuses the publication. On systems whose plug-ins reach the host
/// through the program's own connect function, there is nothing to publish and it succeeds.
std::unique_ptr<AutomationServer> ServeAutomation(const std::string& progId, DispatchPointer application,
                                                  AutomationRefusal refusal, std::string& errorText);

}  // namespace tarnwick::platform
