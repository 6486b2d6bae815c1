#pragma once

#include <memory>

namespace tarnwick::host {

class HostCore;

/// Makes `core` the host that the plug-ins of this process connect to, replacing any other. The
/// registry holds it weakly: a host that is destroyed is withdrawn by that alone.
void PublishHost(const std::shared_ptr<HostCore>& core);

/// Withdraws the published host, if it is `core` (plug-ins then fail to connect).
void WithdrawHost(const HostCore* core);

}  // namespace tarnwick::host
