#pragma once

#include <wx/colour.h>
#include <wx/gdicmn.h>

#include <string>

namespace tarnwick::host::gui::test {

// What the system itself says about the screen: the toolkit's own copy of the screen can lag
// behind what is shown, and windows of another program are only known to the system.

/// The colour the screen shows at a point; an invalid colour when the display cannot be read.
wxColour ScreenPixel(const wxPoint& point);

/// The screen rectangle of a top-level window (of any program on the display) whose title is
/// `title`; an empty rectangle when there is none.
wxRect TopLevelWindowRect(const std::string& title);

/// The screen rectangle of another shown top-level window of the program whose window is titled
/// `title` (a dialog it opened; menus aside); an empty rectangle when there is none.
wxRect OtherWindowOfProgramRect(const std::string& title);

}  // namespace tarnwick::host::gui::test
