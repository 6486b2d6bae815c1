#pragma once

#include <chrono>
#include <functional>

namespace tarnwick::platform {

/// A function that handles the user-interface events already waiting and returns without
/// waiting for new ones.
using MessagePump = std::function<void()>;

/// How much work may pass between two drains on the UI thread: long work calls
/// DrainMessagesWhenDue as it goes, and the window repaints and answers its buttons this often.
inline constexpr std::chrono::milliseconds kDrainInterval{10};

/// Handles the user-interface events already waiting, without blocking, when called on the
/// thread that installed the pump; elsewhere, and when no pump is installed (headless runs,
/// tests), it does nothing.
void DrainMessages();

/// DrainMessages when at least kDrainInterval has passed since the pump last ran; otherwise (and
/// off the pump's thread) nothing. Cheap enough to call for every unit of a long job.
void DrainMessagesWhenDue();

/// Lets `milliseconds` pass for another party to catch up without freezing the window: drains
/// every kDrainInterval meanwhile (on the pump's thread), never sleeping longer at a time.
void PaceFor(int milliseconds);

/// Installs the pump and ties it to the calling thread (the UI installs its event loop's
/// dispatcher from its own thread). An empty pump removes it. Returns the pump it replaced.
MessagePump SetMessagePump(MessagePump pump);

}  // namespace tarnwick::platform
