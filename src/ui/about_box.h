#pragma once

#include <string>

class wxWindow;

namespace tarnwick::ui {

/// Shows the About box modally over `parent` (may be null): the plug-in's icon, its product name
/// and version text. Returns when the user closes it. Call on the UI thread.
void ShowAboutBox(wxWindow* parent, const std::string& productName, const std::string& versionText);

}  // namespace tarnwick::ui
