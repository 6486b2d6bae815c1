#include "ui/network_options_dialog.h"

#include "feed/download_proxy.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "ui/network_options_texts.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace tarnwick::ui {
namespace {

using feed::ProxySetting;

class NetworkOptionsDialog : public wxDialog {
public:
  NetworkOptionsDialog(wxWindow* parent, const ProxySetting& setting)
      : wxDialog(parent, wxID_ANY, kNetworkOptionsTitle) {
    environment_ = new wxRadioButton(this, kProxyFromEnvironmentId, kProxyFromEnvironmentText, wxDefaultPosition,
                                     wxDefaultSize, wxRB_GROUP);
    none_ = new wxRadioButton(this, kNoProxyId, kNoProxyText);
    given_ = new wxRadioButton(this, kGivenProxyId, kGivenProxyText);
    address_ = new wxTextCtrl(this, kProxyAddressId, wxString::FromUTF8(setting.url));
    address_->SetHint(kProxyAddressHint);
    (setting.kind == ProxySetting::Kind::kNone    ? none_
     : setting.kind == ProxySetting::Kind::kGiven ? given_
                                                  : environment_)
        ->SetValue(true);
    LayOut();
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { address_->Enable(given_->GetValue()); });
    Bind(
        wxEVT_TEXT, [this](wxCommandEvent&) { given_->SetValue(true); }, kProxyAddressId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
    address_->Enable(given_->GetValue());
  }

  ProxySetting Chosen() const {
    if (none_->GetValue()) return {ProxySetting::Kind::kNone, {}};
    if (given_->GetValue()) return feed::ParseProxySetting(address_->GetValue().utf8_string());
    return {};
  }

private:
  void LayOut() {
    const int gap = FromDIP(6);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, kNetworkOptionsIntro), wxSizerFlags().Border(wxALL, 2 * gap));
    for (wxRadioButton* choice : {environment_, none_, given_}) {
      top->Add(choice, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, 2 * gap));
    }
    auto* indented = new wxBoxSizer(wxHORIZONTAL);  // the address stands under its choice's label
    indented->AddSpacer(FromDIP(20));
    indented->Add(address_, wxSizerFlags(1));
    top->Add(indented, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 2 * gap));
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), wxSizerFlags().Expand().Border(wxALL, 2 * gap));
    address_->SetMinSize(wxSize(FromDIP(300), -1));
    SetSizerAndFit(top);
    CentreOnParent();
  }

  // A given proxy needs an address; anything else closes the dialog with OK.
  void OnOk() {
    if (given_->GetValue() && Chosen().kind != ProxySetting::Kind::kGiven) {
      wxMessageBox(kProxyAddressMissingText, kNetworkOptionsTitle, wxOK | wxICON_EXCLAMATION, this);
      address_->SetFocus();
      return;
    }
    EndModal(wxID_OK);
  }

  wxRadioButton* environment_ = nullptr;
  wxRadioButton* none_ = nullptr;
  wxRadioButton* given_ = nullptr;
  wxTextCtrl* address_ = nullptr;
};

}  // namespace

bool ShowNetworkOptions(wxWindow* parent, const std::string& settingsPath) {
  const store::SettingsStore settings(settingsPath);
  NetworkOptionsDialog dialog(parent,
                              feed::ParseProxySetting(settings.ReadText(store::kNetworkSection, store::kProxyKey, "")));
  if (dialog.ShowModal() != wxID_OK) return false;
  const ProxySetting chosen = dialog.Chosen();
  if (!settings.WriteText(store::kNetworkSection, store::kProxyKey, feed::ProxySettingText(chosen))) {
    wxMessageBox(kNetworkOptionsNotStoredText, kNetworkOptionsTitle, wxOK | wxICON_EXCLAMATION, parent);
    return false;
  }
  feed::UseProxy(chosen);
  return true;
}

}  // namespace tarnwick::ui
