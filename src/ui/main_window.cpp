#include "ui/main_window.h"

#include "automation/host_automation.h"
#include "check/check_texts.h"
#include "mailbox/newsbox_writer.h"
#include "platform/clock.h"
#include "platform/wait.h"
#include "ui/desktop_launcher.h"
#include "ui/main_window_texts.h"
#include "ui/registered_messages.h"
#include "ui/resources.h"

#include <wx/accel.h>
#include <wx/animate.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include <algorithm>

namespace tarnwick::ui {
namespace {

constexpr int kPendingClosePauseMilliseconds = 200;
constexpr int kImageSize = 16;
constexpr int kPluginIconNumber = 1000;
constexpr int kStatusImageNumber = 1002;
constexpr int kFeedImageNumber = 185;
constexpr int kDecorationNumber = 214;
constexpr int kBusyCursorNumber = 248;
constexpr int kRunAnimationNumber = 287;
constexpr int kCacheAnimationNumber = 234;
// The images of FeedImageOf, then the warning of a failing feed (kFailingFeedImage).
constexpr int kFeedIconNumbers[] = {123, 120, 168, 167, 179, 180, 181, 182, 196};
constexpr int kNewsboxIconNumbers[] = {1015, 1018, 131};

void AddIcons(wxImageList& list, const int* numbers, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    wxBitmap icon = ResourceBitmap(numbers[i]);
    // A missing icon keeps its place, so that the others keep their numbers.
    list.Add(icon.IsOk() ? icon : wxBitmap(kImageSize, kImageSize));
  }
}

struct ListRow {
  std::string text;
  int image;
  bool selected;
};

// Makes the list show the rows, changing the rows it has in place: a list emptied and filled
// again keeps a stale selection, so that the next click adds to it instead of replacing it.
void ShowRows(wxListCtrl& list, const std::vector<ListRow>& rows) {
  const long wanted = static_cast<long>(rows.size());
  while (list.GetItemCount() > wanted) list.DeleteItem(list.GetItemCount() - 1);
  for (long row = 0; row < wanted; ++row) {
    const ListRow& shown = rows[static_cast<size_t>(row)];
    if (row < list.GetItemCount()) {
      list.SetItem(row, 0, wxString::FromUTF8(shown.text), shown.image);
    } else {
      list.InsertItem(row, wxString::FromUTF8(shown.text), shown.image);
    }
    list.SetItemState(row, shown.selected ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
  }
}

wxAnimationCtrl* AnimatedImage(wxWindow* parent, int id, int animation, int still) {
  auto* control = new wxAnimationCtrl(parent, id, ResourceAnimation(animation), wxDefaultPosition,
                                      parent->FromDIP(wxSize(32, 32)), wxAC_DEFAULT_STYLE | wxAC_NO_AUTORESIZE);
  control->SetInactiveBitmap(ResourceBitmap(still));
  return control;
}

}  // namespace

MainWindow::MainWindow(wxWindow* parent, const MainWindowSetup& setup, const CheckRunFactory& makeRun,
                       wxEvtHandler* newsboard)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(setup.files.productName), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER | wxSTAY_ON_TOP),
      setup_(setup),
      model_(setup.files.settingsPath),
      newsboard_(newsboard),
      feedImages_(kImageSize, kImageSize, true, 10),
      newsboxImages_(kImageSize, kImageSize, true, 5),
      busyCursor_(ResourceBytes("cursors/" + std::to_string(kBusyCursorNumber) + ".png").empty()
                      ? wxCursor(wxCURSOR_WAIT)
                      : ResourceCursor(kBusyCursorNumber)),
      clock_(this),
      menuTimer_(this) {
  if (newsboard_ != nullptr) forwarder_ = std::make_unique<NewArticleForwarder>(*newsboard_);
  SetIcon(ResourceIcon(kPluginIconNumber));
  AddIcons(feedImages_, kFeedIconNumbers, std::size(kFeedIconNumbers));
  AddIcons(newsboxImages_, kNewsboxIconNumbers, std::size(kNewsboxIconNumbers));
  CreateControls();
  LayOut();
  BindEvents();
  Initialise();
  if (makeRun) run_ = makeRun(*this, forwarder_.get());
}

MainWindow::~MainWindow() {
  clock_.Stop();
}

void MainWindow::CreateControls() {
  newsboxList_ = new wxListCtrl(this, kNewsboxListId, wxDefaultPosition, FromDIP(wxSize(210, 230)),
                                wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_HEADER | wxBORDER_SIMPLE);
  feedList_ = new wxListCtrl(this, kFeedListId, wxDefaultPosition, FromDIP(wxSize(280, 170)),
                             wxLC_REPORT | wxLC_NO_HEADER | wxBORDER_SIMPLE);
  newsboxList_->InsertColumn(0, kNewsboxColumnTitle);
  feedList_->InsertColumn(0, kFeedsColumnTitle);
  newsboxList_->SetImageList(&newsboxImages_, wxIMAGE_LIST_SMALL);
  feedList_->SetImageList(&feedImages_, wxIMAGE_LIST_SMALL);

  const int animation = setup_.cacheMode ? kCacheAnimationNumber : kRunAnimationNumber;
  feedImage_ = AnimatedImage(this, kFeedImageId, animation, kFeedImageNumber);
  statusImage_ = AnimatedImage(this, kStatusImageId, animation, kStatusImageNumber);
  // Three lines: the cause of a failing feed's latest failure is wrapped onto the last two, and
  // what is longer still ends in an ellipsis rather than running out of the window.
  information_ = new wxStaticText(this, kInformationId, wxString(), wxDefaultPosition, wxDefaultSize,
                                  wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  information_->SetMinSize(wxSize(-1, 3 * GetCharHeight() + FromDIP(4)));

  add_ = new wxButton(this, kAddId, kAddButtonText);
  edit_ = new wxButton(this, kEditId, kEditButtonText);
  delete_ = new wxButton(this, kDeleteId, kDeleteButtonText);
  download_ = new wxButton(this, kDownloadId, kDownloadButtonText);
  stop_ = new wxButton(this, kStopId, kStopButtonText);
  newsboardButton_ = new wxButton(this, kNewsboardId, kNewsboardButtonText);
  importButton_ = new wxButton(this, kImportFeedsCommand, kImportFeedsButtonText);
  exportButton_ = new wxButton(this, kExportFeedsCommand, kExportFeedsButtonText);
  networkButton_ = new wxButton(this, kNetworkOptionsId, kNetworkOptionsButtonText);
  help_ = new wxButton(this, kHelpId, kHelpButtonText);
  close_ = new wxButton(this, kCloseId, kCloseButtonText);
  download_->SetDefault();

  progress_ = new wxGauge(this, kProgressId, 100, wxDefaultPosition, wxSize(-1, FromDIP(14)));
  const long statusStyle = wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END;
  general_ = new wxStaticText(this, kGeneralStatusId, kGeneralStatusPlaceholder, wxDefaultPosition, wxDefaultSize,
                              statusStyle);
  details_ = new wxStaticText(this, kDetailsStatusId, kDetailsStatusPlaceholder, wxDefaultPosition, wxDefaultSize,
                              statusStyle);
  detailsLine_ = std::make_unique<ThrottledLabel>(*details_);
}

void MainWindow::LayOut() {
  const int gap = FromDIP(6);
  const int margin = FromDIP(10);

  auto* newsboxes = new wxBoxSizer(wxVERTICAL);
  newsboxes->Add(new wxStaticText(this, kNewsboxesLabelId, kNewsboxesLabel), wxSizerFlags().Border(wxBOTTOM, gap));
  newsboxes->Add(newsboxList_, wxSizerFlags(1).Expand());

  auto* feedColumn = new wxBoxSizer(wxVERTICAL);
  feedColumn->Add(feedList_, wxSizerFlags(1).Expand());
  feedColumn->Add(information_, wxSizerFlags().Expand().Border(wxTOP, gap));
  auto* feedButtons = new wxBoxSizer(wxVERTICAL);
  for (wxButton* button : {add_, edit_, delete_})
    feedButtons->Add(button, wxSizerFlags().Expand().Border(wxBOTTOM, gap));
  feedButtons->AddStretchSpacer();
  feedButtons->Add(statusImage_, wxSizerFlags().CentreHorizontal());
  auto* feedsBox = new wxStaticBox(this, kFeedsGroupId, kFeedsGroupLabel);
  auto* feeds = new wxStaticBoxSizer(feedsBox, wxHORIZONTAL);
  feeds->Add(feedImage_, wxSizerFlags().Top().Border(wxALL, gap));
  feeds->Add(feedColumn, wxSizerFlags(1).Expand().Border(wxTOP | wxBOTTOM, gap));
  feeds->Add(feedButtons, wxSizerFlags().Expand().Border(wxALL, gap));

  auto* lists = new wxBoxSizer(wxHORIZONTAL);
  lists->Add(newsboxes, wxSizerFlags(2).Expand().Border(wxRIGHT, margin));
  lists->Add(feeds, wxSizerFlags(3).Expand());

  auto* statusLines = new wxBoxSizer(wxVERTICAL);
  statusLines->Add(general_, wxSizerFlags().Expand().Border(wxBOTTOM, FromDIP(2)));
  statusLines->Add(details_, wxSizerFlags().Expand().Border(wxBOTTOM, gap));
  statusLines->Add(progress_, wxSizerFlags().Expand());
  auto* runButtons = new wxBoxSizer(wxVERTICAL);
  runButtons->Add(download_, wxSizerFlags().Expand().Border(wxBOTTOM, gap));
  runButtons->Add(stop_, wxSizerFlags().Expand());
  auto* run = new wxBoxSizer(wxHORIZONTAL);
  run->Add(new wxStaticBitmap(this, wxID_ANY, ResourceBitmap(kDecorationNumber)),
           wxSizerFlags().CentreVertical().Border(wxRIGHT, margin));
  run->Add(statusLines, wxSizerFlags(1).CentreVertical().Border(wxRIGHT, margin));
  run->Add(runButtons, wxSizerFlags().CentreVertical());

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(newsboardButton_, wxSizerFlags().Border(wxRIGHT, gap));
  buttons->Add(importButton_, wxSizerFlags().Border(wxRIGHT, gap));
  buttons->Add(exportButton_, wxSizerFlags().Border(wxRIGHT, gap));
  buttons->Add(networkButton_);
  buttons->AddStretchSpacer();
  buttons->Add(help_, wxSizerFlags().Border(wxRIGHT, gap));
  buttons->Add(close_);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(lists, wxSizerFlags(1).Expand().Border(wxALL, margin));
  top->Add(run, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, margin));
  top->Add(new wxStaticLine(this), wxSizerFlags().Expand().Border(wxALL, margin));
  top->Add(buttons, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, margin));
  SetSizerAndFit(top);
  SetMinSize(GetSize());
}

void MainWindow::Initialise() {
  wxAcceleratorEntry keys[] = {{wxACCEL_NORMAL, WXK_F1, kHelpCommand}, {wxACCEL_SHIFT, WXK_F1, kAboutCommand}};
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(std::size(keys)), keys));
  if (automation::HostAutomation().CloseMailboxWindow(mailbox::kPendingMailboxName)) {
    platform::WaitMilliseconds(kPendingClosePauseMilliseconds);
  }
  ShowGeneralStatus(check::kReady);
  ShowDetailsStatus("");
  SetProgress(0);

  const bool firstStart = model_.IsFirstStart();
  model_.Load();
  FillNewsboxList();
  FillFeedList({});
  const auto [left, top] = model_.SavedPosition();
  Move(left, top);
  if (firstStart) (void)OpenHelpTopic(setup_.files.helpPath, kGettingStartedTopic);

  if (feedList_->GetItemCount() > 0) feedList_->SetItemState(0, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  ApplyFeedSelection();  // nothing is selected yet: Edit, Delete and Download wait for a selection
  if (setup_.cacheMode) SetRunControlsEnabled(false);
  stop_->Disable();  // until a run from Download, which the cache run is not
}

void MainWindow::FillNewsboxList() {
  const long selected = newsboxList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  const std::string selectedPath =
      selected >= 0 && static_cast<size_t>(selected) < shownNewsboxPaths_.size() ? shownNewsboxPaths_[selected] : "";
  std::vector<ListRow> rows;
  shownNewsboxPaths_.clear();
  for (const NewsboxRow& newsbox : model_.Newsboxes()) {
    rows.push_back({newsbox.Text(), newsbox.Image(), !selectedPath.empty() && newsbox.mailboxPath == selectedPath});
    shownNewsboxPaths_.push_back(newsbox.mailboxPath);
  }
  reacting_ = true;
  ShowRows(*newsboxList_, rows);
  reacting_ = false;
}

void MainWindow::FillFeedList(const std::vector<std::string>& selectedAliases) {
  std::vector<ListRow> rows;
  for (size_t index = 0; index < model_.Feeds().size(); ++index) {
    const std::string& alias = model_.Feeds()[index].alias;
    const bool selected = std::find(selectedAliases.begin(), selectedAliases.end(), alias) != selectedAliases.end();
    rows.push_back({alias, model_.FeedImage(index), selected});
  }
  reacting_ = true;
  ShowRows(*feedList_, rows);
  reacting_ = false;
}

std::vector<size_t> MainWindow::SelectedFeeds() const {
  std::vector<size_t> selected;
  for (long row = feedList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
       row = feedList_->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    selected.push_back(static_cast<size_t>(row));
  }
  return selected;
}

std::vector<std::string> MainWindow::SelectedAliases() const {
  std::vector<std::string> aliases;
  for (size_t index : SelectedFeeds()) aliases.push_back(model_.Feeds()[index].alias);
  return aliases;
}

void MainWindow::ShowClock() {
  information_->SetLabelText(wxString::FromUTF8(MainWindowModel::ClockText(platform::SystemClock().Now())));
}

int MainWindow::RunModally() {
  // Like a dialog box of the host: its owner waits, the program's other windows stay usable.
  wxWindow* owner = GetParent();
  const bool disableOwner = owner != nullptr && owner->IsEnabled();
  if (disableOwner) owner->Disable();
  if (setup_.cacheMode) CallAfter([this] { RunCachedFeeds(); });
  Show();
  Raise();
  wxGUIEventLoop loop;
  loop_ = &loop;
  loop.Run();
  loop_ = nullptr;
  Hide();
  if (disableOwner) owner->Enable();
  return report_.newArticles;
}

void MainWindow::CloseWindow() {
  clock_.Stop();
  const wxPoint position = GetPosition();
  model_.SavePosition(position.x, position.y);
  if (run_) report_ = run_->Report();
  if (newsboxOpened_) report_.lastResult = kNewsboxOpenedResult;
  if (loop_ != nullptr) loop_->Exit();
}

void MainWindow::SetProgress(int percent) {
  const int value = std::clamp(percent, 0, 100);
  if (progress_->GetValue() != value) progress_->SetValue(value);  // a run sets it for every message
}

void MainWindow::ShowGeneralStatus(const std::string& text) {
  general_->SetLabelText(wxString::FromUTF8(text));
}

void MainWindow::ShowDetailsStatus(const std::string& text) {
  detailsLine_->Show(text);
}

void MainWindow::SetRunControlsEnabled(bool enabled) {
  runActive_ = !enabled;
  for (wxWindow* control :
       std::initializer_list<wxWindow*>{newsboxList_, feedList_, add_, edit_, delete_, download_, newsboardButton_,
                                        importButton_, exportButton_, networkButton_, help_, close_}) {
    control->Enable(enabled);
  }
  stop_->Enable(!enabled);
}

void MainWindow::ShowBusy(bool busy) {
  wxAnimationCtrl* image = setup_.cacheMode ? feedImage_ : statusImage_;
  if (busy) {
    image->Play();
  } else {
    image->Stop();
  }
  if (!setup_.cacheMode) SetCursor(busy ? busyCursor_ : wxNullCursor);
}

void MainWindow::FocusWindow() {
  Raise();
  SetFocus();
}

void MainWindow::BringNewsboardForward() {
  auto* window = dynamic_cast<wxTopLevelWindow*>(newsboard_);
  if (window != nullptr && window->IsShown()) window->Raise();
}

}  // namespace tarnwick::ui
