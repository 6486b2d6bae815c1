#include "ui/window_parent.h"

#include "ui/newsboard_window.h"

#include <wx/app.h>
#include <wx/toplevel.h>

namespace tarnwick::ui {
namespace {

bool CanOwnDialogs(wxWindow* window) {
  return window != nullptr && window->IsShown() && !window->IsBeingDeleted() &&
         dynamic_cast<NewsboardWindow*>(window) == nullptr;
}

}  // namespace

wxWindow* HostMainWindow() {
  // Without a top window of its own the application names its first top-level window, which
  // may be one of the plug-in's.
  if (wxTheApp != nullptr && CanOwnDialogs(wxTheApp->GetTopWindow())) return wxTheApp->GetTopWindow();
  wxWindow* active = wxGetActiveWindow();
  return CanOwnDialogs(active) ? wxGetTopLevelParent(active) : nullptr;
}

}  // namespace tarnwick::ui
