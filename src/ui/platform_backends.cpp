#include "ui/platform_backends.h"

#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "ui/window_parent.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/window.h>

namespace tarnwick::ui {
namespace {

void ShowMessageDialog(const std::string& text, const std::string& caption) {
  wxWindow* active = wxGetActiveWindow();
  wxMessageDialog dialog(active != nullptr ? wxGetTopLevelParent(active) : HostMainWindow(), wxString::FromUTF8(text),
                         wxString::FromUTF8(caption), wxOK | wxCENTRE);
  dialog.ShowModal();
}

void ShowMessageBoxOnUiThread(const std::string& text, const std::string& caption) {
  if (wxThread::IsMain()) {
    ShowMessageDialog(text, caption);
  } else if (wxTheApp != nullptr) {
    wxTheApp->CallAfter([text, caption] { ShowMessageDialog(text, caption); });
  }
}

bool IsHeldNow(platform::Key key) {
  if (!wxThread::IsMain()) return false;  // the display is the UI thread's
  return wxGetKeyState(key == platform::Key::kShift ? WXK_SHIFT : WXK_CONTROL);
}

}  // namespace

void InstallPlatformBackends() {
  platform::SetMessageBoxHandler(ShowMessageBoxOnUiThread);
  platform::SetKeyStateProvider(IsHeldNow);
}

void RemovePlatformBackends() {
  platform::SetMessageBoxHandler({});
  platform::SetKeyStateProvider({});
}

}  // namespace tarnwick::ui
