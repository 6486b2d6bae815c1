#pragma once

#include <functional>

namespace tarnwick::platform {

/// The modifier keys whose state commands read.
enum class Key { kShift, kControl };

/// True when `key` is held down at this moment. Without a window system (headless runs, tests
/// that install nothing) no key is held.
bool IsKeyHeld(Key key);

using KeyStateProvider = std::function<bool(Key key)>;

/// Installs the function that reads the keyboard (the UI installs one that asks the toolkit; tests
/// a fixed answer). An empty provider means no key is held. Returns the provider it replaced.
KeyStateProvider SetKeyStateProvider(KeyStateProvider provider);

}  // namespace tarnwick::platform
