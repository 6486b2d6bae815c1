#include "ui/newsboard_window.h"

#include "ui/about_box.h"
#include "ui/current_placement.h"
#include "ui/desktop_launcher.h"
#include "ui/help_key.h"
#include "ui/newsboard_texts.h"
#include "ui/resources.h"
#include "ui/window_placement.h"

#include "platform/wait.h"

#include <wx/artprov.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

namespace tarnwick::ui {
namespace {

constexpr int kNewImage = 0;
constexpr int kOpenedImage = 1;
constexpr char kPlacementPrefix[] = "Newsboard";
// A first Newsboard opens at the screen's top left at a size its six columns fit in.
const WindowPlacement kDefaultPlacement{0, 0, 880, 360, WindowState::kNormal};
// What a date column needs beyond its text: the list's margins around it.
constexpr int kDateColumnMargin = 16;
constexpr char kWidestDateText[] = "12/30/2026 00:00:00";
const wxSize kSmallestSize(250, 150);
const wxSize kLargestSize(2250, 2150);
const wxColour kBackground(212, 208, 200);

wxBitmap Art(const wxArtID& id, int size) {
  return wxArtProvider::GetBitmap(id, wxART_OTHER, wxSize(size, size));
}

// Orders two list items by the rows their item data number; the list's own sort is not stable,
// so rows equal under the sort column are ordered by arrival here.
int wxCALLBACK CompareItems(wxIntPtr first, wxIntPtr second, wxIntPtr rowsAddress) {
  return reinterpret_cast<const NewsboardRows*>(rowsAddress)->Compare(first, second);
}

}  // namespace

NewsboardWindow::NewsboardWindow(const ViewerContext& context)
    : wxFrame(nullptr, wxID_ANY, kNewsboardTitle),
      context_(context),
      host_([](int milliseconds) { platform::WaitMilliseconds(milliseconds); }) {
  SetIcon(ResourceIcon(kNewsboardIconNumber));
  SetBackgroundColour(kBackground);
  SetCursor(ResourceCursor(kProgramArrowCursorNumber));
  CreateToolBar();
  CreateList();
  SetSizeHints(kSmallestSize, kLargestSize);
  PlaceFromSettings();

  Bind(kUiDisplayWindow, &NewsboardWindow::OnDisplayWindow, this);
  Bind(kUiNewArticle, &NewsboardWindow::OnNewArticle, this);
  Bind(wxEVT_CLOSE_WINDOW, &NewsboardWindow::OnClose, this);
  Bind(wxEVT_MENU, [this](wxCommandEvent& event) { RunCommand(event.GetId()); });
  Bind(wxEVT_TOOL, [this](wxCommandEvent& event) { RunCommand(event.GetId()); });
  Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent& event) {
    if (event.GetKeyCode() != WXK_ESCAPE) event.Skip();  // Escape does not close the Newsboard
  });
  OpenHelpOnF1(*this, context_.helpPath, kNewsboardHelpTopic);
}

void NewsboardWindow::CreateList() {
  list_ = new wxListCtrl(this, kNewsboardListId, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
  auto* images = new wxImageList(16, 16, true, 2);
  images->Add(Art(wxART_NORMAL_FILE, 16));
  images->Add(Art(wxART_TICK_MARK, 16));
  list_->AssignImageList(images, wxIMAGE_LIST_SMALL);
  const NewsboardColumnSettings columns = ReadNewsboardColumns(store::SettingsStore(context_.settingsPath));
  for (int column = 0; column < kNewsboardColumnCount; ++column) {
    list_->AppendColumn(kNewsboardColumns[column].heading, wxLIST_FORMAT_LEFT, columns.widths[column]);
  }
  rows_.Sort() = columns.sort;
  fitColumns_ = !columns.widthsStored;
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 1));
  SetSizer(sizer);

  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, &NewsboardWindow::OnActivated, this);
  list_->Bind(wxEVT_LIST_COL_CLICK, &NewsboardWindow::OnColumnClick, this);
  list_->Bind(wxEVT_LIST_KEY_DOWN, &NewsboardWindow::OnListKey, this);
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateToolBar(); });
  list_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateToolBar(); });
  // A right click anywhere in the list, on a row or below the last; Shift+F10 is OnListKey's.
  list_->Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& event) {
    if (event.GetPosition() != wxDefaultPosition) ShowContextMenu(event.GetPosition());
  });
  // The list draws its header apart from its rows: both are drawn again once a divider was dragged.
  list_->Bind(wxEVT_LIST_COL_END_DRAG, [this](wxListEvent& event) {
    event.Skip();
    CallAfter([this] { list_->Refresh(); });
  });
}

void NewsboardWindow::CreateToolBar() {
  wxToolBar* bar = wxFrame::CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
  bar->SetToolBitmapSize(wxSize(32, 32));
  bar->AddTool(kNewsboardOpen, kOpenText, Art(wxART_FILE_OPEN, 32), kOpenText);
  bar->AddTool(kNewsboardBrowse, kBrowseText, Art(wxART_GO_HOME, 32), kBrowseText);
  bar->AddTool(kNewsboardRemove, kRemoveText, Art(wxART_DELETE, 32), kRemoveText);
  bar->AddSeparator();
  bar->AddTool(kNewsboardOpenNewsbox, kOpenNewsboxText, Art(wxART_FOLDER_OPEN, 32), kOpenNewsboxText);
  bar->AddSeparator();
  bar->AddTool(kNewsboardAbout, kAboutText, Art(wxART_INFORMATION, 32), kAboutText);
  bar->Realize();
  UpdateToolBar();
}

void NewsboardWindow::PlaceFromSettings() {
  const WindowPlacement placement =
      ReadWindowPlacement(store::SettingsStore(context_.settingsPath), kPlacementPrefix, kDefaultPlacement);
  SetSize(placement.left, placement.top, placement.width, placement.height);
}

void NewsboardWindow::SaveSettings() {
  const store::SettingsStore settings(context_.settingsPath);
  NewsboardColumnSettings columns;
  columns.sort = rows_.Sort();
  for (int column = 0; column < kNewsboardColumnCount; ++column) columns.widths[column] = list_->GetColumnWidth(column);
  WriteNewsboardColumns(settings, columns);
  WriteWindowPlacement(settings, kPlacementPrefix, CurrentPlacement(*this));
}

void NewsboardWindow::ShowBoard() {
  if (!IsShown()) ApplyStoredState();
  Show();
  FitColumns();
}

void NewsboardWindow::FitColumns() {
  if (!fitColumns_) return;
  fitColumns_ = false;
  Layout();
  // Room is kept for the scroll bar that many rows bring, so the columns never run past the list.
  const int room = list_->GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, list_);
  const int dateWidth = list_->GetTextExtent(kWidestDateText).x + FromDIP(kDateColumnMargin);
  const std::array<int, kNewsboardColumnCount> widths = FittedColumnWidths(room, dateWidth);
  for (int column = 0; column < kNewsboardColumnCount; ++column) list_->SetColumnWidth(column, widths[column]);
}

void NewsboardWindow::ApplyStoredState() {
  // As it was when the user last closed it: maximised, minimised or normal at its place.
  const WindowPlacement placement =
      ReadWindowPlacement(store::SettingsStore(context_.settingsPath), kPlacementPrefix, kDefaultPlacement);
  if (placement.state == WindowState::kMaximised) {
    Maximize();
  } else if (placement.state == WindowState::kMinimised) {
    Iconize();
  } else if (IsIconized() || IsMaximized()) {
    Restore();
  }
}

void NewsboardWindow::HideBoard() {
  Hide();
}

void NewsboardWindow::AddRow(const mailbox::NewArticleNotice& notice) {
  const int64_t row = rows_.Add(MakeNewsboardEntry(notice, clock_));
  const NewsboardEntry& entry = *rows_.Find(row);
  // The list is kept in order as rows come: a run adds hundreds, and sorting all for each would
  // cost more than the run's own work.
  const long item = list_->InsertItem(SortedPosition(row), wxString::FromUTF8(entry.headline), kNewImage);
  for (int column = kFeedColumn; column < kNewsboardColumnCount; ++column) {
    list_->SetItem(item, column, wxString::FromUTF8(ColumnText(entry, column)));
  }
  list_->SetItemPtrData(item, static_cast<wxUIntPtr>(row));
  if (list_->GetItemCount() == 1) UpdateListCursor();
}

long NewsboardWindow::SortedPosition(int64_t row) const {
  // After every row that sorts before it or ties with it (a tie is ordered by arrival).
  long low = 0;
  long high = list_->GetItemCount();
  while (low < high) {
    const long middle = low + (high - low) / 2;
    if (rows_.Compare(static_cast<int64_t>(list_->GetItemData(middle)), row) < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

void NewsboardWindow::UpdateListCursor() {
  // The badged arrow says the rows can be opened; with no rows the list shows the window's arrow.
  list_->SetCursor(list_->GetItemCount() > 0 ? ResourceCursor(kNewsboardListCursorNumber) : wxNullCursor);
}

void NewsboardWindow::SortList() {
  list_->SortItems(CompareItems, reinterpret_cast<wxIntPtr>(&rows_));
  list_->Refresh();
}

std::vector<long> NewsboardWindow::SelectedItems() const {
  std::vector<long> items;
  for (long item = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
       item = list_->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    items.push_back(item);
  }
  return items;
}

void NewsboardWindow::UpdateToolBar() {
  const bool selected = list_ != nullptr && list_->GetSelectedItemCount() > 0;
  for (int command : {kNewsboardOpen, kNewsboardBrowse, kNewsboardRemove, kNewsboardOpenNewsbox}) {
    GetToolBar()->EnableTool(command, selected);
  }
}

void NewsboardWindow::RunCommand(int command) {
  switch (command) {
    case kNewsboardOpen:
      OpenRows();
      break;
    case kNewsboardBrowse:
      BrowseRows();
      break;
    case kNewsboardRemove:
      RemoveRows();
      break;
    case kNewsboardOpenNewsbox:
      OpenNewsboxes();
      break;
    case kNewsboardSelectAll:
      for (long item = 0; item < list_->GetItemCount(); ++item) {
        list_->SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                            wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
      }
      break;
    case kNewsboardAbout:
      ShowAboutBox(this, context_.productName, context_.versionText);
      break;
    default:
      return;
  }
  list_->SetFocus();
}

void NewsboardWindow::OpenRows() {
  for (long item : SelectedItems()) {
    const int64_t number = static_cast<int64_t>(list_->GetItemData(item));
    if (const NewsboardEntry* entry = rows_.Find(number)) {
      ArticleViewer::Open(context_, entry->headerBlock, entry->bodyText);
    }
    // Marked opened whether or not its viewer could be made.
    rows_.MarkOpened(number);
    list_->SetItemImage(item, kOpenedImage);
  }
  Lower();
}

void NewsboardWindow::BrowseRows() {
  for (long item : SelectedItems()) {
    if (const NewsboardEntry* entry = rows_.Find(static_cast<int64_t>(list_->GetItemData(item)))) {
      OpenAddress(entry->website);
    }
  }
  Lower();
}

void NewsboardWindow::RemoveRows() {
  std::vector<long> items = SelectedItems();
  std::vector<int64_t> numbers;
  // From the bottom up, so the indexes still to delete do not shift.
  for (auto item = items.rbegin(); item != items.rend(); ++item) {
    numbers.push_back(static_cast<int64_t>(list_->GetItemData(*item)));
    list_->DeleteItem(*item);
  }
  rows_.Remove(numbers);
  UpdateToolBar();
  UpdateListCursor();
}

void NewsboardWindow::OpenNewsboxes() {
  for (long item : SelectedItems()) {
    if (const NewsboardEntry* entry = rows_.Find(static_cast<int64_t>(list_->GetItemData(item)))) {
      host_.OpenMailboxByPath(entry->mailboxPath);
    }
  }
  Lower();
  host_.BringHostForward();
}

void NewsboardWindow::ShowContextMenu(const wxPoint& position) {
  if (list_->GetSelectedItemCount() == 0) return;
  wxMenu menu;
  menu.Append(kNewsboardOpen, kOpenMenuText);
  menu.AppendSeparator();
  menu.Append(kNewsboardBrowse, kBrowseMenuText);
  menu.Append(kNewsboardRemove, kRemoveMenuText);
  menu.AppendSeparator();
  menu.Append(kNewsboardOpenNewsbox, kOpenNewsboxMenuText);
  menu.AppendSeparator();
  menu.Append(kNewsboardSelectAll, kSelectAllMenuText);
  PopupMenu(&menu, ScreenToClient(position));
}

void NewsboardWindow::OnDisplayWindow(DisplayWindowEvent& event) {
  if (event.Request() == 1) {
    ShowBoard();
  } else {
    HideBoard();
  }
  event.SetAnswer(1);
}

void NewsboardWindow::OnNewArticle(NewArticleEvent& event) {
  AddRow(event.Notice());
  ShowBoard();
}

void NewsboardWindow::OnActivated(wxListEvent&) {
  // Enter or a double click: the live keyboard decides between the viewer and the browser.
  RunCommand(wxGetKeyState(WXK_CONTROL) ? kNewsboardBrowse : kNewsboardOpen);
}

void NewsboardWindow::OnColumnClick(wxListEvent& event) {
  rows_.Sort().ClickColumn(event.GetColumn());
  SortList();
}

void NewsboardWindow::OnListKey(wxListEvent& event) {
  if (event.GetKeyCode() != WXK_F10 || !wxGetKeyState(WXK_SHIFT)) return event.Skip();
  wxRect row;
  const long mark = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  const wxPoint position = mark != -1 && list_->GetItemRect(mark, row) ? list_->ClientToScreen(row.GetTopLeft())
                                                                       : GetScreenPosition() + wxPoint(10, 30);
  ShowContextMenu(position);
}

void NewsboardWindow::OnClose(wxCloseEvent&) {
  SaveSettings();
  HideBoard();
}

}  // namespace tarnwick::ui
