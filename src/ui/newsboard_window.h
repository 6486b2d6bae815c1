#pragma once

#include "automation/host_automation.h"
#include "platform/clock.h"
#include "ui/article_viewer.h"
#include "ui/newsboard_model.h"
#include "ui/registered_messages.h"

#include <wx/frame.h>

#include <cstdint>
#include <vector>

class wxListCtrl;
class wxListEvent;
class wxMenu;

namespace tarnwick::ui {

/// Control id of the Newsboard's list.
inline constexpr int kNewsboardListId = 1019;

/// Commands of the Newsboard's menu and toolbar.
enum NewsboardCommand : int {
  kNewsboardOpen = 31001,
  kNewsboardBrowse,
  kNewsboardRemove,
  kNewsboardOpenNewsbox,
  kNewsboardSelectAll,
  kNewsboardAbout,
};

/// The Newsboard: one top-level window for the life of the module, made hidden when it starts,
/// listing every article delivered since then. It shows itself on "uiNewArticle" and on
/// "uiDisplayWindow" 1, and hides on any other request; the close box only hides it (keeping its
/// rows), storing its columns and place first. From it the user opens articles in viewers or in the
/// web browser, opens their newsbox in the host, or removes rows. Runs on the UI thread.
class NewsboardWindow : public wxFrame {
public:
  explicit NewsboardWindow(const ViewerContext& context);

  /// Shows the window where it was last left (the user's close only hides it).
  void ShowBoard();
  /// Hides the window; its rows stay.
  void HideBoard();

  /// The rows, for tests.
  const NewsboardRows& Rows() const { return rows_; }
  /// The list control, for tests.
  wxListCtrl& List() { return *list_; }
  /// Runs a command on the selected rows, as the menu and the toolbar do.
  void RunCommand(int command);

  bool ShouldPreventAppExit() const override { return false; }

private:
  void CreateList();
  void CreateToolBar();
  void PlaceFromSettings();
  void ApplyStoredState();
  void FitColumns();
  void UpdateListCursor();
  void SaveSettings();
  void AddRow(const mailbox::NewArticleNotice& notice);
  /// Where the row numbered `row` goes in the list under the current order.
  long SortedPosition(int64_t row) const;
  void SortList();
  std::vector<long> SelectedItems() const;
  void UpdateToolBar();
  void OpenRows();
  void BrowseRows();
  void RemoveRows();
  void OpenNewsboxes();
  void ShowContextMenu(const wxPoint& position);

  void OnDisplayWindow(DisplayWindowEvent& event);
  void OnNewArticle(NewArticleEvent& event);
  void OnActivated(wxListEvent& event);
  void OnColumnClick(wxListEvent& event);
  void OnListKey(wxListEvent& event);
  void OnClose(wxCloseEvent& event);

  ViewerContext context_;
  automation::HostAutomation host_;
  platform::SystemClock clock_;
  NewsboardRows rows_;
  wxListCtrl* list_ = nullptr;
  bool fitColumns_ = false;  // no widths stored: the columns are fitted to the list when first shown
};

}  // namespace tarnwick::ui
