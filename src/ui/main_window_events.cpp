// The main window's answers to the user: buttons, lists, keys, menus.
#include "automation/host_automation.h"
#include "check/check_texts.h"
#include "platform/application_name.h"
#include "platform/message_box.h"
#include "ui/about_box.h"
#include "ui/desktop_launcher.h"
#include "ui/feed_properties_dialog.h"
#include "ui/main_window.h"
#include "ui/main_window_texts.h"
#include "ui/question_box.h"
#include "ui/registered_messages.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/stattext.h>

#include <algorithm>
#include <exception>
#include <utility>

namespace tarnwick::ui {
namespace {

constexpr int kClockMilliseconds = 1000;
constexpr int kColumnMargin = 20;
constexpr int kSmallestColumn = 40;
constexpr int kMenuDelayMargin = 50;

// Keeps the one column of a list as wide as the list, less room for its scroll bar.
void KeepColumnFitted(wxListCtrl* list) {
  list->Bind(wxEVT_SIZE, [list](wxSizeEvent& event) {
    list->SetColumnWidth(0, std::max(event.GetSize().x - kColumnMargin, kSmallestColumn));
    event.Skip();
  });
}

long LastSelected(const wxListCtrl* list) {
  long last = -1;
  for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
       row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    last = row;
  }
  return last;
}

}  // namespace

void MainWindow::BindEvents() {
  const std::pair<int, void (MainWindow::*)()> buttons[] = {{kAddId, &MainWindow::OnAdd},
                                                            {kEditId, &MainWindow::OnEdit},
                                                            {kDeleteId, &MainWindow::OnDelete},
                                                            {kDownloadId, &MainWindow::OnDownload},
                                                            {kNewsboardId, &MainWindow::OnNewsboard},
                                                            {kHelpId, &MainWindow::OnHelp},
                                                            {kImportFeedsCommand, &MainWindow::OnImportFeeds},
                                                            {kExportFeedsCommand, &MainWindow::OnExportFeeds},
                                                            {kNetworkOptionsId, &MainWindow::OnNetworkOptions},
                                                            {kCloseId, &MainWindow::CloseWindow}};
  for (const auto& [id, handler] : buttons) {
    Bind(
        wxEVT_BUTTON, [this, handler = handler](wxCommandEvent&) { OnCommand(handler); }, id);
  }
  const std::pair<int, void (MainWindow::*)()> commands[] = {{kHelpCommand, &MainWindow::OnHelp},
                                                             {kAboutCommand, &MainWindow::OnAbout},
                                                             {kOpenNewsboxCommand, &MainWindow::OnOpenNewsbox},
                                                             {kCloseNewsboxCommand, &MainWindow::OnCloseNewsboxWindow},
                                                             {kImportFeedsCommand, &MainWindow::OnImportFeeds},
                                                             {kExportFeedsCommand, &MainWindow::OnExportFeeds},
                                                             {kSelectAllFeedsCommand, &MainWindow::OnSelectAllFeeds}};
  for (const auto& [id, handler] : commands) {
    Bind(
        wxEVT_MENU, [this, handler = handler](wxCommandEvent&) { OnCommand(handler); }, id);
  }

  // Stop is the one control a run leaves live; it only asks the run to stop.
  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        if (run_) run_->RequestStop();
      },
      kStopId);

  feedList_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { ScheduleFeedSelection(); });
  feedList_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { ScheduleFeedSelection(); });
  feedList_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { OnCommand(&MainWindow::OnEdit); });
  newsboxList_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) {
    if (!reacting_) OnCommand(&MainWindow::OnNewsboxSelected);
  });
  newsboxList_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { OnCommand(&MainWindow::OnOpenNewsbox); });
  BindListMouse(newsboxList_, &MainWindow::OnOpenNewsbox, &MainWindow::OnNewsboxMenu);
  BindListMouse(feedList_, &MainWindow::OnEdit, &MainWindow::OnFeedMenu);
  Bind(
      wxEVT_TIMER,
      [this](wxTimerEvent&) {
        if (auto menu = std::exchange(waitingMenu_, {})) menu();
      },
      menuTimer_.GetId());
  KeepColumnFitted(feedList_);
  KeepColumnFitted(newsboxList_);

  Bind(
      wxEVT_TIMER, [this](wxTimerEvent&) { ShowClock(); }, clock_.GetId());
  Bind(wxEVT_CHAR_HOOK, &MainWindow::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    // The close box, the window manager's close and Escape (which the toolkit makes a close) do
    // nothing: the window ends through Close.
    if (event.CanVeto()) {
      event.Veto();
    } else {
      CloseWindow();
    }
  });
}

void MainWindow::BindListMouse(wxListCtrl* list, void (MainWindow::*onDoubleClick)(),
                               void (MainWindow::*onMenu)(wxPoint)) {
  // Shift+F10 and the menu key ask for the menu without a place: it opens at once. A right click
  // asks at the mouse: the menu waits out the time of a double click, so that a right double
  // click reaches the list instead of the menu its first click would have opened.
  list->Bind(wxEVT_CONTEXT_MENU, [this, onMenu](wxContextMenuEvent& event) {
    const wxPoint at = event.GetPosition();
    if (at == wxDefaultPosition) return (this->*onMenu)(at);
    waitingMenu_ = [this, onMenu, at = ScreenToClient(at)] { (this->*onMenu)(at); };
    menuTimer_.StartOnce(wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC) + kMenuDelayMargin);
  });
  list->Bind(wxEVT_RIGHT_DCLICK, [this, list, onDoubleClick](wxMouseEvent& event) {
    OnListRightDoubleClick(list, event.GetPosition(), onDoubleClick);
  });
}

void MainWindow::OnListRightDoubleClick(wxListCtrl* list, wxPoint position, void (MainWindow::*command)()) {
  menuTimer_.Stop();
  waitingMenu_ = {};
  int flags = 0;
  const long row = list->HitTest(position, flags);
  if (row < 0 || runActive_) return;
  // The row double-clicked is the one acted on, as with the left button.
  for (long other = 0; other < list->GetItemCount(); ++other) {
    if (other != row) list->SetItemState(other, 0, wxLIST_STATE_SELECTED);
  }
  list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  if (list == feedList_) ApplyFeedSelection();
  OnCommand(command);
}

void MainWindow::OnCommand(void (MainWindow::*command)()) {
  if (runActive_) return;
  try {
    (this->*command)();
  } catch (const std::exception& error) {
    platform::ShowMessageBox(error.what(), platform::kApplicationName);
  }
}

void MainWindow::OnCharHook(wxKeyEvent& event) {
  // Enter does not press Download, nor open the focused list's item.
  if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER) return;
  if (event.GetModifiers() == wxMOD_SHIFT && !runActive_ && SelectFromFocusedFeed(event.GetKeyCode())) return;
  if (event.GetKeyCode() == 'A' && event.GetModifiers() == wxMOD_CONTROL && feedList_->HasFocus()) {
    OnCommand(&MainWindow::OnSelectAllFeeds);
    return;
  }
  // Escape closes the window, except while a run has it (then only Stop answers).
  if (event.GetKeyCode() == WXK_ESCAPE) {
    if (!runActive_) CloseWindow();
    return;
  }
  event.Skip();
}

bool MainWindow::SelectFromFocusedFeed(int keyCode) {
  // A freshly opened window has a focused feed but nothing selected, and the list's own Shift
  // handling then selects nothing: the first Shift+movement selects from the focused feed.
  if (!feedList_->HasFocus() || feedList_->GetSelectedItemCount() > 0) return false;
  const long last = feedList_->GetItemCount() - 1;
  const long from = feedList_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  if (last < 0 || from < 0) return false;
  const long page = std::max(1, feedList_->GetCountPerPage());
  long to = 0;
  switch (keyCode) {
    case WXK_DOWN:
      to = from + 1;
      break;
    case WXK_UP:
      to = from - 1;
      break;
    case WXK_PAGEDOWN:
      to = from + page;
      break;
    case WXK_PAGEUP:
      to = from - page;
      break;
    case WXK_END:
      to = last;
      break;
    case WXK_HOME:
      to = 0;
      break;
    default:
      return false;
  }
  to = std::clamp(to, 0L, last);
  for (long row = std::min(from, to); row <= std::max(from, to); ++row) {
    feedList_->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  feedList_->SetItemState(to, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  feedList_->EnsureVisible(to);
  ApplyFeedSelection();
  return true;
}

void MainWindow::ScheduleFeedSelection() {
  // A click can change many rows; the window is set once, after the last of them.
  if (reacting_ || selectionPending_) return;
  selectionPending_ = true;
  CallAfter([this] {
    if (selectionPending_) ApplyFeedSelection();
  });
}

void MainWindow::ApplyFeedSelection() {
  selectionPending_ = false;
  const FeedSelectionState state = model_.SelectFeeds(SelectedFeeds());
  edit_->Enable(state.editAndDeleteEnabled);
  delete_->Enable(state.editAndDeleteEnabled);
  download_->Enable(state.downloadEnabled);
  if (state.clockRuns) {
    ShowClock();
    clock_.Start(kClockMilliseconds);
  } else {
    clock_.Stop();
    information_->SetLabelText(wxString::FromUTF8(state.informationText));
    information_->Wrap(information_->GetClientSize().GetWidth());
  }
  if (state.newsbox) {
    const long focused = static_cast<long>(*state.newsbox);
    reacting_ = true;
    for (long row = 0; row < newsboxList_->GetItemCount(); ++row) {
      if (row != focused) newsboxList_->SetItemState(row, 0, wxLIST_STATE_SELECTED);
    }
    newsboxList_->SetItemState(focused, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    newsboxList_->EnsureVisible(focused);
    reacting_ = false;
  }
  feedList_->SetFocus();
}

void MainWindow::OnNewsboxSelected() {
  const long selected = LastSelected(newsboxList_);
  if (selected < 0) return;
  const std::vector<size_t> feeds = model_.FeedsOfNewsbox(static_cast<size_t>(selected));
  reacting_ = true;
  for (long row = 0; row < feedList_->GetItemCount(); ++row) {
    if (std::find(feeds.begin(), feeds.end(), static_cast<size_t>(row)) == feeds.end()) {
      feedList_->SetItemState(row, 0, wxLIST_STATE_SELECTED);
    }
  }
  if (!feeds.empty()) {
    feedList_->SetItemState(static_cast<long>(feeds.front()), wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  }
  reacting_ = false;
  ApplyFeedSelection();
  newsboxList_->SetFocus();
}

void MainWindow::OnAdd() {
  store::FeedSettings feed;
  if (ShowFeedPropertiesDialog(this, setup_.files, FeedPropertiesMode::kNew, feed) != 1) return;
  feed.notifyNewsBoard = 1;
  const std::vector<std::string> selected = SelectedAliases();
  model_.AddFeed(feed);
  model_.AddNewsbox(feed.newsbox, feed.newsboxPath);
  FillNewsboxList();
  FillFeedList(selected);
  ApplyFeedSelection();
  ShowGeneralStatus(check::kReady);
}

void MainWindow::OnEdit() {
  const std::vector<size_t> selected = SelectedFeeds();
  if (selected.size() != 1) return;
  store::FeedSettings feed = model_.Feeds()[selected.front()];
  const std::string oldAlias = feed.alias;
  if (ShowFeedPropertiesDialog(this, setup_.files, FeedPropertiesMode::kEdit, feed) != 1) return;
  model_.UpdateFeed(oldAlias, feed);
  model_.AddNewsbox(feed.newsbox, feed.newsboxPath);
  FillNewsboxList();
  FillFeedList({feed.alias});
  ApplyFeedSelection();
  ShowGeneralStatus(check::kReady);
}

void MainWindow::OnDelete() {
  const long last = LastSelected(feedList_);
  if (last < 0) return;
  const std::string& alias = model_.Feeds()[static_cast<size_t>(last)].alias;
  if (!AskYesNo(this, kDeleteFeedQuestionPrefix + alias + kDeleteFeedQuestionSuffix, setup_.files.productName)) {
    return;
  }
  std::vector<std::string> selected = SelectedAliases();
  std::erase(selected, model_.Feeds()[static_cast<size_t>(last)].alias);
  if (model_.DeleteFeed(static_cast<size_t>(last))) FillFeedList(selected);
  ApplyFeedSelection();
}

void MainWindow::OnDownload() {
  std::vector<store::FeedSettings> feeds;
  for (size_t index : SelectedFeeds()) feeds.push_back(model_.Feeds()[index]);
  if (run_) run_->RunSelectedFeeds(feeds);
  CloseWindow();
}

void MainWindow::RunCachedFeeds() {
  try {
    if (run_) run_->RunCachedFeeds();
  } catch (const std::exception& error) {
    platform::ShowMessageBox(error.what(), platform::kApplicationName);
  }
  CloseWindow();
}

void MainWindow::OnNewsboard() {
  if (newsboard_ == nullptr || SendDisplayWindow(*newsboard_, 1) != 1) return;
  if (auto* window = dynamic_cast<wxTopLevelWindow*>(newsboard_)) {
    window->Raise();
    window->SetFocus();
  }
}

void MainWindow::OnOpenNewsbox() {
  const long selected = LastSelected(newsboxList_);
  if (selected < 0) return;
  if (!automation::HostAutomation().OpenMailboxByPath(model_.Newsboxes()[static_cast<size_t>(selected)].mailboxPath)) {
    return;
  }
  newsboxOpened_ = true;  // the user went to read: no report of a run afterwards
  CloseWindow();
}

void MainWindow::OnCloseNewsboxWindow() {
  const long selected = LastSelected(newsboxList_);
  if (selected >= 0) {
    (void)automation::HostAutomation().CloseMailboxWindow(model_.Newsboxes()[static_cast<size_t>(selected)].name);
  }
}

void MainWindow::OnNewsboxMenu(wxPoint position) {
  if (runActive_ || LastSelected(newsboxList_) < 0) return;
  wxMenu menu;
  menu.Append(kOpenNewsboxCommand, kOpenNewsboxCommandText);
  menu.Append(kCloseNewsboxCommand, kCloseNewsboxCommandText);
  PopupMenu(&menu, position == wxDefaultPosition ? newsboxList_->GetPosition() : position);
}

void MainWindow::OnHelp() {
  (void)OpenHelpTopic(setup_.files.helpPath, kDownloadingArticlesTopic);
}

void MainWindow::OnAbout() {
  ShowAboutBox(this, setup_.files.productName, setup_.versionText);
}

}  // namespace tarnwick::ui
