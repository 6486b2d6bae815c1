#pragma once

#include "ui/window_placement.h"

class wxTopLevelWindow;

namespace tarnwick::ui {

/// Where a top-level window stands now and how it is shown, as a closing window stores it.
WindowPlacement CurrentPlacement(const wxTopLevelWindow& window);

}  // namespace tarnwick::ui
