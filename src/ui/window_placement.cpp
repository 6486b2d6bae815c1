#include "ui/window_placement.h"

namespace tarnwick::ui {
namespace {

constexpr char kWindowsSection[] = "Windows";

}  // namespace

WindowPlacement ReadWindowPlacement(const store::SettingsStore& settings, const std::string& prefix,
                                    const WindowPlacement& defaults) {
  WindowPlacement placement;
  placement.left = settings.ReadInt(kWindowsSection, prefix + "Left", defaults.left);
  placement.top = settings.ReadInt(kWindowsSection, prefix + "Top", defaults.top);
  placement.width = settings.ReadInt(kWindowsSection, prefix + "Width", defaults.width);
  placement.height = settings.ReadInt(kWindowsSection, prefix + "Height", defaults.height);
  const int state = settings.ReadInt(kWindowsSection, prefix + "State", static_cast<int>(defaults.state));
  placement.state = state == 1 ? WindowState::kMinimised : state == 2 ? WindowState::kMaximised : WindowState::kNormal;
  return placement;
}

void WriteWindowPlacement(const store::SettingsStore& settings, const std::string& prefix,
                          const WindowPlacement& placement) {
  if (placement.state == WindowState::kNormal) {
    settings.WriteInt(kWindowsSection, prefix + "Left", placement.left);
    settings.WriteInt(kWindowsSection, prefix + "Top", placement.top);
    settings.WriteInt(kWindowsSection, prefix + "Width", placement.width);
    settings.WriteInt(kWindowsSection, prefix + "Height", placement.height);
  }
  settings.WriteInt(kWindowsSection, prefix + "State", static_cast<int>(placement.state));
}

}  // namespace tarnwick::ui
