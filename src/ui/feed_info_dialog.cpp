#include "ui/feed_info_dialog.h"

#include "ui/desktop_launcher.h"
#include "ui/feed_info_texts.h"
#include "ui/resources.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>

namespace tarnwick::ui {
namespace {

constexpr int kIconSize = 32;
constexpr int kMinimumTextWidth = 340;

}  // namespace

FeedInfoDialog::FeedInfoDialog(wxWindow* parent, const FeedInfo& info)
    : wxDialog(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxCAPTION),
      info_(info),
      message_(ComposeFeedInfo(info)) {
  SetTitle(wxString::FromUTF8(message_.title));
  auto* icon = new wxStaticBitmap(this, kInfoIconId, ResourceBitmap(message_.iconNumber), wxDefaultPosition,
                                  FromDIP(wxSize(kIconSize, kIconSize)));
  auto* text = new wxStaticText(this, kInfoTextId, wxString());
  text->SetLabelText(wxString::FromUTF8(message_.text));  // an "&" in a feed's name is shown, not a mnemonic
  text->SetMinSize(wxSize(std::max(text->GetBestSize().x, FromDIP(kMinimumTextWidth)), -1));

  auto* ok = new wxButton(this, kInfoOkId, kInfoOkButton);
  auto* verify = new wxButton(this, kInfoVerifyId, kVerifyButton);
  verify->Show(message_.verifyShown);
  ok->SetDefault();
  ok->SetFocus();

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(icon, wxSizerFlags().Top().Border(wxRIGHT, FromDIP(12)));
  body->Add(text, wxSizerFlags(1).Expand());
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  buttons->Add(verify, wxSizerFlags().Border(wxRIGHT, FromDIP(6)));
  buttons->Add(ok);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(body, wxSizerFlags(1).Expand().Border(wxALL, FromDIP(12)));
  top->Add(buttons, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(12)));
  SetSizerAndFit(top);
  CentreOnParent();

  SetEscapeId(wxID_NONE);  // Escape does nothing: only OK ends the dialog
  SetAffirmativeId(kInfoOkId);
  SetReturnCode(1);
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(1); });
  verify->Bind(wxEVT_BUTTON, &FeedInfoDialog::OnVerify, this);
  Bind(wxEVT_CLOSE_WINDOW, &FeedInfoDialog::OnClose, this);
}

void FeedInfoDialog::OnVerify(wxCommandEvent&) {
  (void)OpenAddress(FeedValidatorAddress(info_.url));
}

void FeedInfoDialog::OnClose(wxCloseEvent& event) {
  if (event.CanVeto()) event.Veto();  // no close box: the window manager's close does nothing
}

int ShowFeedInfoDialog(wxWindow* parent, const FeedInfo& info) {
  FeedInfoDialog dialog(parent, info);
  if (dialog.Message().playSound) (void)PlayResourceSound(kFeedErrorSound);
  return dialog.ShowModal();
}

}  // namespace tarnwick::ui
