#pragma once

#include "ui/feed_properties.h"

#include <wx/dialog.h>

class wxButton;
class wxCheckBox;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;

namespace tarnwick::ui {

/// Control ids of the Feed Properties dialog.
enum FeedPropertiesControl {
  kUrlId = 1006,
  kAliasId = 1008,
  kPropertiesOkId = 1009,
  kPropertiesCancelId = 1012,
  kDownloadReferringId = 1039,
  kStatusIconId = 1040,
  kDownloadOnlyNewId = 1042,
  kAutoCheckId = 1044,
  kNameLabelId = 1047,
  kIntervalId = 1048,
  kNewsboxButtonId = 1052,
  kValidateId = 1055,
  kPropertiesHelpId = 1056,
  kFirstCheckId = 1060,
  kFirstCheckBoxId = 1061,
};

/// The Feed Properties dialog: adds a feed or edits one. It only routes events to FeedProperties
/// and shows what that says. Enter does nothing and there is no close box: it ends through OK
/// (result 1, the feed saved) or Cancel (result 0, the settings file untouched). While OK or
/// Validate downloads, the dialog draws and takes input: Cancel ends the download and the dialog
/// at once, Escape ends the download alone; otherwise Escape does nothing.
class FeedPropertiesDialog : public wxDialog, private FeedPropertiesView {
public:
  /// Opens on a new feed, or (kEdit) on `feed`.
  FeedPropertiesDialog(wxWindow* parent, const FeedDialogContext& context, FeedPropertiesMode mode,
                       const store::FeedSettings& feed);

  /// The logic, with the saved feed after OK.
  const FeedProperties& Model() const { return model_; }

private:
  void CreateControls();
  void LayOut();
  void BindEvents();
  void ShowOptions();
  void ShowFirstCheck(bool inputsEnabled);
  void OnToggle(void (FeedProperties::*toggle)());
  void OnNewsbox();
  void OnOk();
  void OnValidate();
  void OnCancel();
  void OnKey(wxKeyEvent& event);

  void EnableInputs(bool enabled) override;
  void ShowInfo(const FeedInfo& info) override;
  void ShowRefusal(const std::string& text) override;
  void ShowUrl(const std::string& url) override;
  std::optional<size_t> ChooseFeed(const std::vector<feed::FeedLink>& feeds) override;
  void ShowDownloading(bool downloading) override;

  FeedDialogContext context_;
  FeedProperties model_;
  wxTextCtrl* alias_ = nullptr;
  wxTextCtrl* url_ = nullptr;
  wxButton* validate_ = nullptr;
  wxButton* ok_ = nullptr;
  wxWindow* focusBefore_ = nullptr;  // where the focus was when a download started
  wxButton* newsbox_ = nullptr;
  wxCheckBox* downloadReferring_ = nullptr;
  wxCheckBox* downloadOnlyNew_ = nullptr;
  wxCheckBox* autoCheck_ = nullptr;
  wxTextCtrl* interval_ = nullptr;
  wxStaticText* minutes_ = nullptr;
  wxCheckBox* firstCheckBox_ = nullptr;
  wxTextCtrl* firstCheck_ = nullptr;
  wxStaticText* nameLabel_ = nullptr;
  wxStaticBitmap* statusIcon_ = nullptr;
};

/// Runs Feed Properties modally on `feed` (ignored for a new feed). Returns 1 when OK saved the
/// feed, which is then in `feed`; 0 after Cancel, `feed` unchanged. Call on the UI thread.
int ShowFeedPropertiesDialog(wxWindow* parent, const FeedDialogContext& context, FeedPropertiesMode mode,
                             store::FeedSettings& feed);

}  // namespace tarnwick::ui
