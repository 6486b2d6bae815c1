#include "ui/help_key.h"

#include "ui/desktop_launcher.h"

#include <wx/event.h>
#include <wx/window.h>

namespace tarnwick::ui {

void OpenHelpOnF1(wxWindow& window, std::string helpFolder, std::string topic) {
  // Bound last, so it sees each key before the window's own handler does.
  window.Bind(wxEVT_CHAR_HOOK, [helpFolder = std::move(helpFolder), topic = std::move(topic)](wxKeyEvent& event) {
    if (event.GetKeyCode() != WXK_F1 || event.GetModifiers() != wxMOD_NONE) {
      event.Skip();
      return;
    }
    (void)OpenHelpTopic(helpFolder, topic);
  });
}

}  // namespace tarnwick::ui
