#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

namespace tarnwick::test {

/// Writes what the screen shows now in `rect` (screen coordinates) as a PNG file at `path`; true
/// when the file was written.
bool CaptureScreen(const wxRect& rect, const wxString& path);

}  // namespace tarnwick::test
