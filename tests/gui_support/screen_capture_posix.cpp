// The screen is read by ImageMagick's import: the toolkit's screen context on GTK hands out a
// picture taken once, not what the screen shows now.
#include "gui_support/screen_capture.h"

#include <wx/utils.h>

namespace tarnwick::test {

bool CaptureScreen(const wxRect& rect, const wxString& path) {
  const wxString crop = wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y);
  const wxString command = "import -silent -window root -crop " + crop + " +repage \"" + path + "\"";
  return wxExecute(command, wxEXEC_SYNC | wxEXEC_NODISABLE) == 0;
}

}  // namespace tarnwick::test
