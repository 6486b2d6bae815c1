#pragma once

#include <wx/string.h>
#include <wx/timer.h>

#include <chrono>
#include <optional>
#include <string>

class wxStaticText;

namespace tarnwick::ui {

/// A status line that a run changes for every article: setting a label lays the window out again,
/// which costs more than the article's own work, while a person only sees what is on the screen at
/// each repaint. A text is shown at once when the line has not changed for a drain interval;
/// otherwise it waits, and only the latest text waiting is shown when the interval is over.
class ThrottledLabel : private wxTimer {
public:
  explicit ThrottledLabel(wxStaticText& label) : label_(label) {}
  ~ThrottledLabel() override { wxTimer::Stop(); }

  void Show(const std::string& text);

private:
  void Notify() override;
  void Apply(const wxString& text);

  wxStaticText& label_;
  std::optional<wxString> waiting_;
  std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace tarnwick::ui
