#pragma once

#include <wx/colour.h>
#include <wx/gdicmn.h>

namespace tarnwick::host::gui::test {

/// The colour the screen shows at a point, read from the X server itself (the toolkit's own copy
/// of the screen can lag behind what is shown). An invalid colour when the display cannot be read.
wxColour ScreenPixel(const wxPoint& point);

}  // namespace tarnwick::host::gui::test
