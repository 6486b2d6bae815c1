#pragma once

#include <functional>

namespace tarnwick::platform {

/// A function that handles the user-interface events already waiting and returns without
/// waiting for new ones.
using MessagePump = std::function<void()>;

/// Handles the user-interface events already waiting, without blocking, when called on the
/// thread that installed the pump; elsewhere, and when no pump is installed (headless runs,
/// tests), it does nothing.
void DrainMessages();

/// Installs the pump and ties it to the calling thread (the UI installs its event loop's
/// dispatcher from its own thread). An empty pump removes it. Returns the pump it replaced.
MessagePump SetMessagePump(MessagePump pump);

}  // namespace tarnwick::platform
