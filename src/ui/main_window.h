#pragma once

#include "check/check_run.h"
#include "check/check_view.h"
#include "ui/main_window_model.h"
#include "ui/plugin_windows.h"
#include "ui/throttled_label.h"

#include <wx/cursor.h>
#include <wx/dialog.h>
#include <wx/imaglist.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class wxAnimationCtrl;
class wxButton;
class wxGauge;
class wxEventLoopBase;
class wxListCtrl;
class wxStaticText;

namespace tarnwick::ui {

/// Control ids and command numbers of the main window.
enum MainWindowId {
  kFeedListId = 1001,
  kAddId = 1003,
  kEditId = 1004,
  kDeleteId = 1007,
  kDownloadId = 1011,
  kCloseId = 1014,
  kProgressId = 1017,
  kNewsboxListId = 1020,
  kNewsboxesLabelId = 1023,
  kFeedsGroupId = 1026,
  kGeneralStatusId = 1028,
  kDetailsStatusId = 1030,
  kStatusImageId = 1045,
  kInformationId = 1049,
  kFeedImageId = 1054,
  kStopId = 1065,
  kHelpId = 1066,
  kNewsboardId = 1067,
  // The menu and key commands 32771, 32772, 32810 and 32822 lie above the highest id the toolkit
  // takes for a menu item (32767): they are kept less 30000.
  kOpenNewsboxCommand = 2771,
  kCloseNewsboxCommand = 2772,
  // The feed menu, which the feed list opens.
  kImportFeedsCommand = 2773,
  kExportFeedsCommand = 2774,
  kSelectAllFeedsCommand = 2775,
  kNetworkOptionsId = 2776,
  kHelpCommand = 2810,
  kAboutCommand = 2822,
};

/// The plug-in's main window: the newsboxes and the feeds, the buttons that add, edit, delete and
/// check feeds, and the view of a check run (status lines, progress, the animated status image, the
/// busy cursor, Stop). It routes events to MainWindowModel and the check run. Only Close ends it (and
/// every run, and opening a newsbox): the close box, Escape and Enter do nothing.
class MainWindow : public wxDialog, public check::CheckView {
public:
  /// `makeRun` makes the window's check run as it opens; `newsboard` (may be null, else it must
  /// outlive the window) answers "uiDisplayWindow" and receives the delivered articles.
  MainWindow(wxWindow* parent, const MainWindowSetup& setup, const CheckRunFactory& makeRun, wxEvtHandler* newsboard);
  ~MainWindow() override;

  /// Shows the window and handles events until it closes; its owner is disabled meanwhile, as
  /// for a dialog box. In cache mode the cached feeds are checked first and the window closes
  /// itself. Returns the new-article count.
  int RunModally();
  /// True while RunModally runs.
  bool IsRunning() const { return loop_ != nullptr; }
  /// True for the window that checks the cached feeds.
  bool CacheMode() const { return setup_.cacheMode; }
  /// The report of the window's run (see RunMainWindow).
  const check::RunReport& Report() const { return report_; }
  const MainWindowModel& Model() const { return model_; }

  // check::CheckView
  void SetProgress(int percent) override;
  void ShowGeneralStatus(const std::string& text) override;
  void ShowDetailsStatus(const std::string& text) override;
  void SetRunControlsEnabled(bool enabled) override;
  void ShowBusy(bool busy) override;
  void FocusWindow() override;
  void BringNewsboardForward() override;

private:
  void CreateControls();
  void LayOut();
  void BindEvents();
  void Initialise();
  void FillFeedList(const std::vector<std::string>& selectedAliases);
  void FillNewsboxList();
  std::vector<size_t> SelectedFeeds() const;
  std::vector<std::string> SelectedAliases() const;
  void ScheduleFeedSelection();
  bool SelectFromFocusedFeed(int keyCode);
  void ApplyFeedSelection();
  void OnNewsboxSelected();
  void ShowClock();

  void OnAdd();
  void OnEdit();
  void OnDelete();
  void OnDownload();
  void OnNewsboard();
  void OnOpenNewsbox();
  void OnCloseNewsboxWindow();
  void OnNewsboxMenu(wxPoint position);
  void OnFeedMenu(wxPoint position);
  void OnImportFeeds();
  void OnExportFeeds();
  void OnNetworkOptions();
  void OnSelectAllFeeds();
  void BindListMouse(wxListCtrl* list, void (MainWindow::*onDoubleClick)(), void (MainWindow::*onMenu)(wxPoint));
  void OnListRightDoubleClick(wxListCtrl* list, wxPoint position, void (MainWindow::*command)());
  void OnHelp();
  void OnAbout();
  void OnCharHook(wxKeyEvent& event);
  void OnCommand(void (MainWindow::*command)());
  void RunCachedFeeds();
  void CloseWindow();

  MainWindowSetup setup_;
  MainWindowModel model_;
  wxEvtHandler* newsboard_;
  std::unique_ptr<mailbox::NewArticleReceiver> forwarder_;
  std::shared_ptr<check::CheckRun> run_;
  check::RunReport report_;
  bool newsboxOpened_ = false;
  bool runActive_ = false;                      // a run has the window: only Stop answers
  bool reacting_ = false;                       // the window itself is changing a list's selection
  bool selectionPending_ = false;               // a feed selection change waits to be applied
  wxEventLoopBase* loop_ = nullptr;             // while RunModally runs
  std::vector<std::string> shownNewsboxPaths_;  // the mailbox of each row of the newsbox list

  wxImageList feedImages_;
  wxImageList newsboxImages_;
  wxCursor busyCursor_;
  wxTimer clock_;
  wxTimer menuTimer_;  // a right click's menu waits out a double click
  std::function<void()> waitingMenu_;
  wxListCtrl* newsboxList_ = nullptr;
  wxListCtrl* feedList_ = nullptr;
  wxAnimationCtrl* feedImage_ = nullptr;
  wxStaticText* information_ = nullptr;
  wxButton* add_ = nullptr;
  wxButton* edit_ = nullptr;
  wxButton* delete_ = nullptr;
  wxAnimationCtrl* statusImage_ = nullptr;
  wxButton* download_ = nullptr;
  wxGauge* progress_ = nullptr;
  wxButton* stop_ = nullptr;
  wxButton* newsboardButton_ = nullptr;
  wxButton* importButton_ = nullptr;
  wxButton* exportButton_ = nullptr;
  wxButton* networkButton_ = nullptr;
  wxStaticText* details_ = nullptr;
  std::unique_ptr<ThrottledLabel> detailsLine_;  // the details line as a run changes it
  wxStaticText* general_ = nullptr;
  wxButton* help_ = nullptr;
  wxButton* close_ = nullptr;
};

}  // namespace tarnwick::ui
