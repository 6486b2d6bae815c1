#include "ui/current_placement.h"

#include <wx/toplevel.h>

namespace tarnwick::ui {

WindowPlacement CurrentPlacement(const wxTopLevelWindow& window) {
  WindowPlacement placement;
  placement.state = window.IsMaximized()  ? WindowState::kMaximised
                    : window.IsIconized() ? WindowState::kMinimised
                                          : WindowState::kNormal;
  const wxRect rect = window.GetScreenRect();
  placement.left = rect.x;
  placement.top = rect.y;
  placement.width = rect.width;
  placement.height = rect.height;
  return placement;
}

}  // namespace tarnwick::ui
