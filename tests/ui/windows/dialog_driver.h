#pragma once

// Helpers for the window tests of the feed dialogs: wait for a dialog of a given class to run
// modally (also one opened from inside another dialog), then press its controls with real input.

#include "gui_support/gui_test_support.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include <functional>
#include <string>

namespace tarnwick::test {

/// Runs `actions` from the event loop once a shown top-level window is `ready`.
inline void WhenReady(std::function<bool(wxWindow&)> ready, std::function<void(wxWindow&)> actions) {
  class Poll : public wxTimer {
  public:
    Poll(std::function<bool(wxWindow&)> ready, std::function<void(wxWindow&)> actions)
        : ready_(std::move(ready)), actions_(std::move(actions)) {}
    void Notify() override {
      for (wxWindow* window : wxTopLevelWindows) {
        if (!window->IsShown() || window->IsBeingDeleted() || !ready_(*window)) continue;
        Stop();
        std::function<void(wxWindow&)> actions = std::move(actions_);
        wxTheApp->CallAfter([this] { delete this; });
        RunEventsFor(std::chrono::milliseconds(100));  // let it draw and take the focus
        actions(*window);
        return;
      }
    }

  private:
    std::function<bool(wxWindow&)> ready_;
    std::function<void(wxWindow&)> actions_;
  };
  (new Poll(std::move(ready), std::move(actions)))->Start(20);
}

/// Runs `actions` from the event loop once a dialog of class T runs modally.
template <class T>
void WhenShown(std::function<void(T&)> actions) {
  WhenReady(
      [](wxWindow& window) {
        auto* dialog = dynamic_cast<T*>(&window);
        return dialog != nullptr && dialog->IsModal();
      },
      [actions = std::move(actions)](wxWindow& window) { actions(dynamic_cast<T&>(window)); });
}

/// Runs `actions` once a window titled `title` is shown: for the windows of a loaded module, whose
/// classes this program cannot name.
inline void WhenTitled(const std::string& title, std::function<void(wxWindow&)> actions) {
  WhenReady([title](wxWindow& window) { return window.GetLabel().utf8_string() == title; }, std::move(actions));
}

/// The child of `parent` with that id, as a T; null when there is none of that class.
template <class T>
T* Child(wxWindow& parent, int id) {
  return dynamic_cast<T*>(parent.FindWindow(id));
}

/// Clicks (or, with `twice`, double-clicks) a point of a control, in its own coordinates, with the
/// real mouse and lets the click arrive.
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

/// Clicks the middle of a control.
inline void Click(wxWindow* control) {
  const wxSize size = control->GetClientSize();
  ClickAt(control, wxPoint(size.x / 2, size.y / 2));
}

/// The child of a tree item with that text; an invalid item when there is none.
inline wxTreeItemId ChildNamed(wxTreeCtrl& tree, const wxTreeItemId& parent, const std::string& text) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
    if (tree.GetItemText(item).utf8_string() == text) return item;
  }
  return {};
}

/// Double-clicks the text of a tree item.
inline void DoubleClickItem(wxTreeCtrl& tree, const wxTreeItemId& item) {
  wxRect rect;
  if (!tree.GetBoundingRect(item, rect, true)) return;
  ClickAt(&tree, rect.GetPosition() + wxSize(rect.width / 2, rect.height / 2), true);
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
