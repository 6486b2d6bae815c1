#include "ui/feed_properties_dialog.h"

#include "platform/message_box.h"
#include "ui/desktop_launcher.h"
#include "ui/feed_info_dialog.h"
#include "ui/feed_properties_texts.h"
#include "ui/help_key.h"
#include "ui/mailbox_picker.h"
#include "ui/resources.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choicdlg.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/valtext.h>

namespace tarnwick::ui {
namespace {

constexpr int kProgramCursor = 301;
constexpr int kStatusIconSize = 32;
constexpr int kFieldWidth = 340;
constexpr int kIntervalWidth = 48;
constexpr int kIntervalDigits = 5;

wxString Text(const std::string& text) {
  return wxString::FromUTF8(text);
}

}  // namespace

FeedPropertiesDialog::FeedPropertiesDialog(wxWindow* parent, const FeedDialogContext& context, FeedPropertiesMode mode,
                                           const store::FeedSettings& feed)
    : wxDialog(parent, wxID_ANY, kFeedPropertiesTitle, wxDefaultPosition, wxDefaultSize, wxCAPTION),
      context_(context),
      model_(context, *this) {
  if (mode == FeedPropertiesMode::kEdit) {
    model_.OpenEdit(feed);
  } else {
    model_.OpenNew();
  }
  CreateControls();
  LayOut();
  BindEvents();
  SetCursor(ResourceCursor(kProgramCursor));
  SetEscapeId(wxID_NONE);
  alias_->SetFocus();
}

void FeedPropertiesDialog::CreateControls() {
  const store::FeedSettings& values = model_.Values();
  alias_ = new wxTextCtrl(this, kAliasId, Text(values.alias));
  url_ = new wxTextCtrl(this, kUrlId, Text(values.url));
  validate_ = new wxButton(this, kValidateId, kValidateButton);
  newsbox_ = new wxButton(this, kNewsboxButtonId, Text(model_.NewsboxButtonText()));
  downloadReferring_ = new wxCheckBox(this, kDownloadReferringId, kDownloadReferringLabel);
  downloadOnlyNew_ = new wxCheckBox(this, kDownloadOnlyNewId, kDownloadOnlyNewLabel);
  autoCheck_ = new wxCheckBox(this, kAutoCheckId, kAutoCheckLabel);
  interval_ = new wxTextCtrl(this, kIntervalId, wxString::Format("%d", values.intervalMinutes), wxDefaultPosition,
                             wxDefaultSize, wxTE_RIGHT, wxTextValidator(wxFILTER_DIGITS));
  interval_->SetMaxLength(kIntervalDigits);
  minutes_ = new wxStaticText(this, wxID_ANY, kMinutesLabel);
  const int32_t first = model_.FirstCheckArticles();
  firstCheck_ = new wxTextCtrl(this, kFirstCheckId, first > 0 ? wxString::Format("%d", first) : wxString(),
                               wxDefaultPosition, wxDefaultSize, wxTE_RIGHT, wxTextValidator(wxFILTER_DIGITS));
  firstCheck_->SetMaxLength(kIntervalDigits);
  firstCheckBox_ = new wxCheckBox(this, kFirstCheckBoxId, kFirstCheckLabel);
  firstCheckBox_->SetValue(first > 0);
  firstCheckBox_->SetToolTip(kFirstCheckToolTip);
  nameLabel_ = new wxStaticText(this, kNameLabelId, wxString());
  nameLabel_->SetLabelText(Text(model_.NameLabel()));
  statusIcon_ = new wxStaticBitmap(this, kStatusIconId, ResourceBitmap(model_.StatusIcon()), wxDefaultPosition,
                                   FromDIP(wxSize(kStatusIconSize, kStatusIconSize)));
  ShowOptions();
}

void FeedPropertiesDialog::LayOut() {
  const int gap = FromDIP(6);
  auto* fields = new wxFlexGridSizer(3, gap, FromDIP(8));
  fields->AddGrowableCol(1);
  const wxSizerFlags label = wxSizerFlags().CentreVertical();
  fields->Add(new wxStaticText(this, wxID_ANY, kAliasLabel), label);
  fields->Add(alias_, wxSizerFlags().Expand());
  fields->AddSpacer(0);
  fields->Add(new wxStaticText(this, wxID_ANY, kUrlLabel), label);
  fields->Add(url_, wxSizerFlags().Expand());
  fields->Add(validate_);
  fields->Add(new wxStaticText(this, wxID_ANY, kNewsboxLabel), label);
  fields->Add(newsbox_, wxSizerFlags().Expand());
  fields->AddSpacer(0);
  alias_->SetMinSize(wxSize(FromDIP(kFieldWidth), -1));
  interval_->SetMinSize(wxSize(FromDIP(kIntervalWidth), -1));
  firstCheck_->SetMinSize(wxSize(FromDIP(kIntervalWidth), -1));

  auto* every = new wxBoxSizer(wxHORIZONTAL);
  every->Add(autoCheck_, wxSizerFlags().CentreVertical());
  every->Add(interval_, wxSizerFlags().CentreVertical().Border(wxLEFT | wxRIGHT, gap));
  every->Add(minutes_, wxSizerFlags().CentreVertical());
  auto* first = new wxBoxSizer(wxHORIZONTAL);
  first->Add(firstCheckBox_, wxSizerFlags().CentreVertical());
  first->Add(firstCheck_, wxSizerFlags().CentreVertical().Border(wxLEFT | wxRIGHT, gap));
  first->Add(new wxStaticText(this, wxID_ANY, kFirstCheckArticlesLabel), wxSizerFlags().CentreVertical());
  auto* boxes = new wxBoxSizer(wxVERTICAL);
  boxes->Add(downloadReferring_);
  boxes->Add(downloadOnlyNew_, wxSizerFlags().Border(wxTOP, gap));
  boxes->Add(every, wxSizerFlags().Border(wxTOP, gap));
  boxes->Add(first, wxSizerFlags().Border(wxTOP, gap));
  auto* options = new wxBoxSizer(wxHORIZONTAL);
  options->Add(statusIcon_, wxSizerFlags().Top().Border(wxRIGHT, FromDIP(12)));
  options->Add(boxes, wxSizerFlags(1));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(nameLabel_, wxSizerFlags(1).CentreVertical());
  ok_ = new wxButton(this, kPropertiesOkId, kOkButton);
  buttons->Add(ok_, wxSizerFlags().Border(wxLEFT, gap));
  buttons->Add(new wxButton(this, kPropertiesCancelId, kCancelButton), wxSizerFlags().Border(wxLEFT, gap));
  buttons->Add(new wxButton(this, kPropertiesHelpId, kHelpButton), wxSizerFlags().Border(wxLEFT, gap));

  const int margin = FromDIP(12);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(fields, wxSizerFlags().Expand().Border(wxALL, margin));
  top->Add(new wxStaticLine(this), wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, margin));
  top->Add(options, wxSizerFlags().Expand().Border(wxALL, margin));
  top->Add(buttons, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, margin));
  SetSizerAndFit(top);
  CentreOnParent();
}

void FeedPropertiesDialog::BindEvents() {
  auto onButton = [this](int id, auto handler) {
    Bind(
        wxEVT_BUTTON, [handler](wxCommandEvent&) { handler(); }, id);
  };
  onButton(kPropertiesOkId, [this] { OnOk(); });
  onButton(kPropertiesCancelId, [this] { OnCancel(); });
  onButton(kPropertiesHelpId, [this] { (void)OpenHelpTopic(context_.helpPath, kSettingsHelpTopic); });
  onButton(kValidateId, [this] { OnValidate(); });
  onButton(kNewsboxButtonId, [this] { OnNewsbox(); });
  auto onBox = [this](int id, void (FeedProperties::*toggle)()) {
    Bind(
        wxEVT_CHECKBOX, [this, toggle](wxCommandEvent&) { OnToggle(toggle); }, id);
  };
  onBox(kDownloadReferringId, &FeedProperties::ToggleDownloadReferring);
  onBox(kDownloadOnlyNewId, &FeedProperties::ToggleDownloadOnlyNew);
  onBox(kAutoCheckId, &FeedProperties::ToggleAutoCheck);
  Bind(
      wxEVT_CHECKBOX, [this](wxCommandEvent&) { ShowFirstCheck(alias_->IsEnabled()); }, kFirstCheckBoxId);
  Bind(wxEVT_CHAR_HOOK, &FeedPropertiesDialog::OnKey, this);
  OpenHelpOnF1(*this, context_.helpPath, kSettingsHelpTopic);
  Bind(wxEVT_CLOSE_WINDOW, [](wxCloseEvent& event) {
    if (event.CanVeto()) event.Veto();  // no close box: only OK and Cancel end the dialog
  });
}

// The boxes show the flags the logic holds, whatever the toolkit did on the click.
void FeedPropertiesDialog::ShowOptions() {
  const store::FeedSettings& values = model_.Values();
  downloadReferring_->SetValue(values.downloadReferringArticles != 0);
  downloadOnlyNew_->SetValue(values.downloadOnlyNewArticles != 0);
  autoCheck_->SetValue(values.autoCheck != 0);
  interval_->Enable(model_.IntervalEnabled() && alias_->IsEnabled());
  ShowFirstCheck(alias_->IsEnabled());
  statusIcon_->SetBitmap(ResourceBitmap(model_.StatusIcon()));
}

void FeedPropertiesDialog::OnToggle(void (FeedProperties::*toggle)()) {
  (model_.*toggle)();
  ShowOptions();
}

void FeedPropertiesDialog::OnNewsbox() {
  std::string path = model_.Values().newsboxPath;
  std::string name = model_.Values().newsbox;
  if (ShowMailboxPicker(this, context_.hostDataFolder, path, name, context_.helpPath) != 1) return;
  model_.SetNewsbox(path, name);
  newsbox_->SetLabelText(Text(model_.NewsboxButtonText()));
  Layout();
}

// OK and Validate are not pressed again while their download runs (its events are handled meanwhile).
void FeedPropertiesDialog::OnOk() {
  if (model_.Downloading()) return;
  model_.SetFirstCheckArticles(firstCheckBox_->GetValue() ? firstCheck_->GetValue().utf8_string() : std::string());
  if (model_.Ok(alias_->GetValue().utf8_string(), url_->GetValue().utf8_string(),
                interval_->GetValue().utf8_string()) == FeedProperties::OkResult::kSaved &&
      IsModal()) {
    EndModal(1);
  }
}

void FeedPropertiesDialog::OnValidate() {
  if (model_.Downloading()) return;
  model_.Validate(alias_->GetValue().utf8_string(), url_->GetValue().utf8_string());
}

// The edited feed never left the file. A download in progress ends at once; OK or Validate, which
// waits for it further down this thread's stack, then returns showing nothing, and the modal loop
// ends after it.
void FeedPropertiesDialog::OnCancel() {
  model_.StopDownload();
  if (IsModal()) EndModal(0);
}

void FeedPropertiesDialog::OnKey(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      model_.StopDownload();  // ends a download; the dialog stays
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      return;  // neither presses OK nor ends the dialog
    default:
      event.Skip();
  }
}

void FeedPropertiesDialog::EnableInputs(bool enabled) {
  for (wxWindow* input :
       std::initializer_list<wxWindow*>{alias_, url_, newsbox_, downloadReferring_, downloadOnlyNew_, autoCheck_}) {
    input->Enable(enabled);
  }
  interval_->Enable(enabled && model_.IntervalEnabled());
  ShowFirstCheck(enabled);
}

// The first check's limit can change until the feed has had that check.
void FeedPropertiesDialog::ShowFirstCheck(bool inputsEnabled) {
  firstCheckBox_->Enable(inputsEnabled && model_.FirstCheckEnabled());
  firstCheck_->Enable(firstCheckBox_->IsEnabled() && firstCheckBox_->GetValue());
}

void FeedPropertiesDialog::ShowInfo(const FeedInfo& info) {
  (void)ShowFeedInfoDialog(this, info);
}

void FeedPropertiesDialog::ShowRefusal(const std::string& text) {
  platform::ShowMessageBox(text, context_.productName);
}

void FeedPropertiesDialog::ShowUrl(const std::string& url) {
  url_->ChangeValue(Text(url));
}

std::optional<size_t> FeedPropertiesDialog::ChooseFeed(const std::vector<feed::FeedLink>& feeds) {
  wxArrayString choices;
  for (const feed::FeedLink& link : feeds) {
    choices.Add(Text(link.title.empty() ? link.url : link.title + " (" + link.url + ")"));
  }
  wxSingleChoiceDialog chooser(this, Text(kChooseFeedPrompt), Text(kChooseFeedTitle), choices);
  if (chooser.ShowModal() != wxID_OK) return std::nullopt;
  return static_cast<size_t>(chooser.GetSelection());
}

// Cancel holds the focus while the download runs, so that the keys reach the dialog.
void FeedPropertiesDialog::ShowDownloading(bool downloading) {
  if (downloading) {
    focusBefore_ = IsDescendant(FindFocus()) ? FindFocus() : nullptr;
    wxBeginBusyCursor();
  } else {
    wxEndBusyCursor();
  }
  ok_->Enable(!downloading);
  validate_->Enable(!downloading);
  if (downloading) {
    FindWindow(kPropertiesCancelId)->SetFocus();
  } else if (focusBefore_ != nullptr && focusBefore_->IsEnabled()) {
    focusBefore_->SetFocus();
  }
}

int ShowFeedPropertiesDialog(wxWindow* parent, const FeedDialogContext& context, FeedPropertiesMode mode,
                             store::FeedSettings& feed) {
  FeedPropertiesDialog dialog(parent, context, mode, feed);
  const int result = dialog.ShowModal();
  if (result == 1) feed = dialog.Model().Values();
  return result;
}

}  // namespace tarnwick::ui
