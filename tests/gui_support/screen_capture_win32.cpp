// The screen is copied from the system's screen context, which shows what is on the screen now.
#include "gui_support/screen_capture.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>

namespace tarnwick::test {

bool CaptureScreen(const wxRect& rect, const wxString& path) {
  if (rect.IsEmpty()) return false;
  wxBitmap picture(rect.width, rect.height, 24);
  {
    wxScreenDC screen;
    wxMemoryDC copy(picture);
    if (!copy.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y)) return false;
  }
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  return picture.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG);
}

}  // namespace tarnwick::test
