#include "ui/download_progress_window.h"

#include "ui/download_progress_texts.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace tarnwick::ui {
namespace {

constexpr size_t kShownAddressCharacters = 80;

}  // namespace

DownloadProgressWindow::DownloadProgressWindow(wxWindow* parent, const std::string& address,
                                               std::function<void()> cancel)
    : wxDialog(parent, wxID_ANY, kDownloadProgressTitle), cancel_(std::move(cancel)) {
  std::string shown = address.substr(0, kShownAddressCharacters);
  if (shown.size() < address.size()) shown += "...";
  auto* text = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kDownloadProgressText + shown));
  auto* button = new wxButton(this, wxID_CANCEL, kDownloadCancelButton);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(text, wxSizerFlags().Border(wxALL, FromDIP(12)));
  top->Add(button, wxSizerFlags().Centre().Border(wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(12)));
  SetSizerAndFit(top);
  CentreOnParent();
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { Cancel(); }, wxID_CANCEL);
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
      Cancel();
    } else {
      event.Skip();
    }
  });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    if (event.CanVeto()) event.Veto();  // the caller takes it away once the download has ended
    Cancel();
  });
  Show();
  Raise();
  button->SetFocus();
  disabler_ = std::make_unique<wxWindowDisabler>(this);
  wxBeginBusyCursor();
}

DownloadProgressWindow::~DownloadProgressWindow() {
  if (disabler_) wxEndBusyCursor();
}

void DownloadProgressWindow::Dismiss() {
  cancel_ = nullptr;  // the download it would end is over
  if (disabler_) wxEndBusyCursor();
  disabler_.reset();
  Hide();
  Destroy();
}

void DownloadProgressWindow::Cancel() {
  if (!cancel_) return;
  std::function<void()> cancel = std::move(cancel_);
  cancel_ = nullptr;
  FindWindow(wxID_CANCEL)->Disable();
  cancel();
}

}  // namespace tarnwick::ui
