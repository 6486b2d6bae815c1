#pragma once

#include <string>

class wxWindow;

namespace tarnwick::ui {

/// Makes F1 pressed anywhere in the top-level `window` open the help page `topic` of the help
/// folder `helpFolder` (nothing happens when the page is missing); other keys go on to the
/// window's own key handling. Call on the UI thread, once the window's own key handler is bound.
void OpenHelpOnF1(wxWindow& window, std::string helpFolder, std::string topic);

}  // namespace tarnwick::ui
