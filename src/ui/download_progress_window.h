#pragma once

#include <wx/dialog.h>

#include <functional>
#include <memory>
#include <string>

class wxWindowDisabler;

namespace tarnwick::ui {

/// A small window that says a page is being downloaded from `address`, shown while a download on
/// the UI thread handles the thread's events (a DownloadStopScope). Cancel, Escape and the close
/// box call `cancel` once; the download's caller then ends it. While it is shown the cursor is
/// busy and the application's other windows take no input, so nothing starts a second download
/// underneath. Dismiss takes it away.
class DownloadProgressWindow : public wxDialog {
public:
  DownloadProgressWindow(wxWindow* parent, const std::string& address, std::function<void()> cancel);
  ~DownloadProgressWindow() override;

  /// Gives the other windows back, hides it and destroys it. Not from its own event handlers.
  void Dismiss();

private:
  void Cancel();

  std::function<void()> cancel_;
  std::unique_ptr<wxWindowDisabler> disabler_;
};

}  // namespace tarnwick::ui
