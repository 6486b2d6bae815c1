#include "ui/throttled_label.h"

#include "platform/ui_pump.h"

#include <wx/stattext.h>

namespace tarnwick::ui {

void ThrottledLabel::Show(const std::string& text) {
  const wxString shown = wxString::FromUTF8(text);
  const auto sinceShown = std::chrono::steady_clock::now() - lastShown_;
  if (sinceShown >= platform::kDrainInterval) {
    Apply(shown);
    return;
  }
  waiting_ = shown;
  if (!IsRunning()) {
    const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(platform::kDrainInterval - sinceShown);
    StartOnce(static_cast<int>(rest.count()) + 1);
  }
}

void ThrottledLabel::Notify() {
  if (!waiting_) return;
  const wxString text = std::move(*waiting_);  // Apply clears what is waiting
  Apply(text);
}

void ThrottledLabel::Apply(const wxString& text) {
  wxTimer::Stop();
  waiting_.reset();
  lastShown_ = std::chrono::steady_clock::now();
  if (label_.GetLabelText() != text) label_.SetLabelText(text);
}

}  // namespace tarnwick::ui
