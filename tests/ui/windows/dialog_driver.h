#pragma once

// Helpers for the window tests of the feed dialogs: wait for a dialog of a given class to run
// modally (also one opened from inside another dialog), then press its controls with real input.

#include "gui_support/gui_test_support.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include <functional>
#include <string>

namespace tarnwick::test {

/// Runs `actions` from the event loop once a dialog of class T runs modally.
template <class T>
void WhenShown(std::function<void(T&)> actions) {
  class Poll : public wxTimer {
  public:
    explicit Poll(std::function<void(T&)> actions) : actions_(std::move(actions)) {}
    void Notify() override {
      for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<T*>(window);
        if (dialog == nullptr || !dialog->IsModal() || !dialog->IsShown()) continue;
        Stop();
        std::function<void(T&)> actions = std::move(actions_);
        wxTheApp->CallAfter([this] { delete this; });
        RunEventsFor(std::chrono::milliseconds(100));  // let it draw and take the focus
        actions(*dialog);
        return;
      }
    }

  private:
    std::function<void(T&)> actions_;
  };
  (new Poll(std::move(actions)))->Start(20);
}

/// The child of `parent` with that id, as a T; null when there is none of that class.
template <class T>
T* Child(wxWindow& parent, int id) {
  return dynamic_cast<T*>(parent.FindWindow(id));
}

/// Clicks the middle of a control with the real mouse and lets the click arrive.
inline void Click(wxWindow* control, bool twice = false) {
  wxUIActionSimulator input;
  input.MouseMove(control->GetScreenRect().GetPosition() + control->GetSize() / 2);
  RunEventsFor(std::chrono::milliseconds(50));
  if (twice) {
    input.MouseDblClick();
  } else {
    input.MouseClick();
  }
  RunEventsFor(std::chrono::milliseconds(100));
}

/// Clicks a point of a control (in its own coordinates).
inline void ClickAt(wxWindow* control, wxPoint point, bool twice = false) {
  wxUIActionSimulator input;
  input.MouseMove(control->ClientToScreen(point));
  RunEventsFor(std::chrono::milliseconds(50));
  if (twice) {
    input.MouseDblClick();
  } else {
    input.MouseClick();
  }
  RunEventsFor(std::chrono::milliseconds(100));
}

/// Presses one key (a wx key code) in the window that has the focus.
inline void PressKey(int keyCode) {
  wxUIActionSimulator input;
  input.Char(keyCode);
  RunEventsFor(std::chrono::milliseconds(100));
}

/// Gives `control` the focus and types `text` (ASCII) into it with real keys.
inline void TypeInto(wxWindow* control, const std::string& text) {
  control->SetFocus();
  RunEventsFor(std::chrono::milliseconds(50));
  wxUIActionSimulator input;
  input.Text(text.c_str());
  RunEventsFor(std::chrono::milliseconds(100));
}

}  // namespace tarnwick::test
