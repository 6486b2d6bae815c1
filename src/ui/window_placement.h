#pragma once

#include "store/settings_store.h"

#include <string>

namespace tarnwick::ui {

/// How a window was shown when it was last closed.
enum class WindowState { kNormal = 0, kMinimised = 1, kMaximised = 2 };

/// Where a window stands and how it is shown, as the section "Windows" keeps it under a prefix
/// ("Newsboard", "Message"): <prefix>Left, Top, Width, Height (screen pixels, outer size) and State.
struct WindowPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  WindowState state = WindowState::kNormal;
};

/// The placement stored under `prefix`, each value its default when absent; a stored state other
/// than 1 or 2 reads as normal.
WindowPlacement ReadWindowPlacement(const store::SettingsStore& settings, const std::string& prefix,
                                    const WindowPlacement& defaults);

/// Stores the placement as a closing window does: the rectangle only when the window is shown
/// normally (a minimised or maximised window keeps the rectangle it had), then the state.
void WriteWindowPlacement(const store::SettingsStore& settings, const std::string& prefix,
                          const WindowPlacement& placement);

}  // namespace tarnwick::ui
