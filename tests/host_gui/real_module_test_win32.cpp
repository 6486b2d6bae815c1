// The whole program as a user meets it on Windows: the host's window with the real Tarnwick module
// in its plug-ins folder. A feed is added in Tarnwick's main window, opened from the Special menu,
// and downloaded; its articles show in the newsbox's tab. The module runs a toolkit of its own
// there, so its windows are found and driven through the system's window list, with real input,
// from a timer that the module's dialog loops keep ticking.
#include "real_module_fixture.h"

#include "gui/host_frame.h"
#include "gui/mailbox_panel.h"
#include "gui_support/gui_test_support.h"
#include "ui/feed_info_dialog.h"
#include "ui/feed_properties_dialog.h"
#include "ui/main_window.h"

#include <wx/listctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tarnwick::host::gui::test {
namespace {

using namespace std::chrono_literals;
using tarnwick::test::RunEventsUntil;
using tarnwick::test::SaveScreenshot;

constexpr wchar_t kMainWindowTitle[] = L"Tarnwick";
constexpr wchar_t kPropertiesTitle[] = L"Feed Properties";
constexpr wchar_t kPickerTitle[] = L"Mailboxes";
constexpr wchar_t kNewsboardTitle[] = L"News Board";

std::wstring TitleOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::string Utf8Of(const std::wstring& text) {
  return wxString(text).utf8_string();
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The shown top-level windows of this program.
std::vector<HWND> ShownWindows() {
  std::vector<HWND> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> shown;
  for (HWND window : all) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) shown.push_back(window);
  }
  return shown;
}

HWND ShownWindowTitled(const std::wstring& title) {
  for (HWND window : ShownWindows()) {
    if (TitleOf(window) == title) return window;
  }
  return nullptr;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> all;
  if (window != nullptr) EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

// A control of a window by its id (the toolkit gives a control its id as the system's).
HWND ControlOf(HWND window, int id) {
  for (HWND child : Descendants(window)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

HWND ChildOfClass(HWND window, const std::wstring& className) {
  for (HWND child : Descendants(window)) {
    wchar_t name[128] = {};
    GetClassNameW(child, name, 128);
    if (className == name) return child;
  }
  return nullptr;
}

wxRect ScreenRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return wxRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void ClickScreenPoint(const wxPoint& point, bool twice = false) {
  wxUIActionSimulator input;
  input.MouseMove(point);
  if (twice) {
    input.MouseDblClick();
  } else {
    input.MouseClick();
  }
}

void ClickControl(HWND window, int id) {
  const wxRect rect = ScreenRectOf(ControlOf(window, id));
  ClickScreenPoint(rect.GetPosition() + rect.GetSize() / 2);
}

void TypeIntoControl(HWND window, int id, const std::string& text) {
  ClickControl(window, id);
  wxUIActionSimulator().Text(text.c_str());
}

// The screen point in the middle of a tree item's text, found among the shown items by its text.
wxPoint TreeItemPoint(HWND tree, const std::wstring& text, HTREEITEM item) {
  for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    wchar_t label[256] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = label;
    query.cchTextMax = 256;
    TreeView_GetItem(tree, &query);
    RECT rect{};
    if (text == label && TreeView_GetItemRect(tree, item, &rect, TRUE)) {
      POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
      ClientToScreen(tree, &middle);
      return wxPoint(middle.x, middle.y);
    }
    const wxPoint below = TreeItemPoint(tree, text, TreeView_GetChild(tree, item));
    if (below != wxDefaultPosition) return below;
  }
  return wxDefaultPosition;
}

// What a user does in the module's windows, one step at a time: each step waits until what it
// needs is on the screen, then acts without waiting (a dialog it opens runs its own loop). A step
// that is not ready in time ends the script and closes the module's windows.
struct Step {
  std::string what;
  std::function<bool()> ready;
  std::function<void()> act;
};

class UserScript : public wxTimer {
public:
  explicit UserScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    deadline_ = std::chrono::steady_clock::now() + 90s;
    Start(200);
  }
  void Notify() override {
    if (next_ == steps_.size()) return Stop();
    if (std::chrono::steady_clock::now() > deadline_) return GiveUp();
    if (!steps_[next_].ready()) return;
    steps_[next_++].act();
  }
  bool Finished() const { return next_ == steps_.size(); }
  std::string Stalled() const { return Finished() ? std::string() : steps_[next_].what; }

private:
  void GiveUp() {
    Stop();
    for (const wchar_t* title : {kPickerTitle, kPropertiesTitle, kMainWindowTitle}) {
      if (HWND window = ShownWindowTitled(title)) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }

  std::vector<Step> steps_;
  size_t next_ = 0;
  std::chrono::steady_clock::time_point deadline_;
};

class RealModuleTest : public RealModuleFixture {
protected:
  // Adds the feed "Daily" delivering into Archive through Feed Properties and the picker, its first
  // check limited to the two newest articles; selects it and downloads; answers the run's report.
  std::vector<Step> AddAndDownloadDaily(std::string& reportTitle) {
    HWND* main = &main_;
    const auto shown = [](const wchar_t* title) { return [title] { return ShownWindowTitled(title) != nullptr; }; };
    const auto enabled = [main](int id) { return [main, id] { return IsWindowEnabled(ControlOf(*main, id)) != 0; }; };
    const std::string url = server_.Url("/feed.xml");
    return {
        {"the main window opens", shown(kMainWindowTitle),
         [main] {
           *main = ShownWindowTitled(kMainWindowTitle);
           ClickControl(*main, ui::kAddId);
         }},
        {"Feed Properties opens", shown(kPropertiesTitle),
         [url] {
           HWND properties = ShownWindowTitled(kPropertiesTitle);
           TypeIntoControl(properties, ui::kAliasId, "Daily");
           TypeIntoControl(properties, ui::kUrlId, url);
           ClickControl(properties, ui::kFirstCheckBoxId);
         }},
        {"the first check's field is enabled",
         [] { return IsWindowEnabled(ControlOf(ShownWindowTitled(kPropertiesTitle), ui::kFirstCheckId)) != 0; },
         [] {
           HWND properties = ShownWindowTitled(kPropertiesTitle);
           TypeIntoControl(properties, ui::kFirstCheckId, "2");
           ClickControl(properties, ui::kNewsboxButtonId);
         }},
        {"the picker opens", shown(kPickerTitle),
         [] {
           HWND picker = ShownWindowTitled(kPickerTitle);
           SaveScreenshot(ScreenRectOf(picker), "end_to_end_picker");
           HWND tree = ChildOfClass(picker, WC_TREEVIEWW);
           ClickScreenPoint(TreeItemPoint(tree, L"Archive", TreeView_GetRoot(tree)), true);
         }},
        {"the picker closes", [] { return ShownWindowTitled(kPickerTitle) == nullptr; },
         [] {
           HWND properties = ShownWindowTitled(kPropertiesTitle);
           SaveScreenshot(ScreenRectOf(properties), "end_to_end_feed_properties");
           ClickControl(properties, ui::kPropertiesOkId);
         }},
        {"the main window lists the feed",
         [main] {
           return ShownWindowTitled(kPropertiesTitle) == nullptr &&
                  ListView_GetItemCount(ControlOf(*main, ui::kFeedListId)) == 1;
         },
         [main] {
           HWND feeds = ControlOf(*main, ui::kFeedListId);
           RECT row{};
           ListView_GetItemRect(feeds, 0, &row, LVIR_LABEL);
           POINT point{row.left + 20, (row.top + row.bottom) / 2};
           ClientToScreen(feeds, &point);
           ClickScreenPoint(wxPoint(point.x, point.y));
         }},
        {"Download is enabled", enabled(ui::kDownloadId),
         [main] {
           SaveScreenshot(ScreenRectOf(*main), "end_to_end_main_window");
           ClickControl(*main, ui::kDownloadId);
         }},
        {"the run shows, Stop enabled", enabled(ui::kStopId),
         [main] { SaveScreenshot(ScreenRectOf(*main), "end_to_end_main_window_during_run"); }},
        {"the run's report comes",
         [main] {
           for (HWND window : ShownWindows()) {
             if (window != *main && ControlOf(window, ui::kInfoOkId) != nullptr) return true;
           }
           return false;
         },
         [main, &reportTitle] {
           for (HWND window : ShownWindows()) {
             if (window == *main || ControlOf(window, ui::kInfoOkId) == nullptr) continue;
             reportTitle = Utf8Of(TitleOf(window));
             SaveScreenshot(ScreenRectOf(window), "end_to_end_run_report");
             ClickControl(window, ui::kInfoOkId);
             return;
           }
         }},
    };
  }

  HWND main_ = nullptr;
};

TEST_F(RealModuleTest, AFeedAddedFromTheSpecialMenuDeliversIntoItsNewsboxsTab) {
  const int32_t archive = MailboxId("Archive");
  Core().Windows()->OpenMailboxWindow(archive, "Archive");
  std::string reportTitle;
  UserScript user(AddAndDownloadDaily(reportTitle));
  ChooseMenuItem("Special", "Tarnwick...");
  ASSERT_TRUE(RunEventsUntil([&] { return user.Finished() && ShownWindowTitled(kMainWindowTitle) == nullptr; }, 100s))
      << "stalled at: " << user.Stalled();
  EXPECT_EQ(reportTitle, "You've Got New Articles!");
  EXPECT_EQ(MessagesIn(archive), 2) << "the first check delivers the two newest of three";

  // The Newsboard came forward with the new articles; it is looked at and put away.
  HWND newsboard = ShownWindowTitled(kNewsboardTitle);
  ASSERT_NE(newsboard, nullptr);
  SaveScreenshot(ScreenRectOf(newsboard), "end_to_end_newsboard");
  PostMessageW(newsboard, WM_SYSCOMMAND, SC_CLOSE, 0);
  MailboxPanel* panel = Frame().PanelOf(archive);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(RunEventsUntil([&] { return panel->List()->GetItemCount() == 2; }, 10s)) << "the tab follows the moves";
  ClickMessageRow(0);
  SaveScreenshot(&Frame(), "end_to_end_host_with_articles");
}

}  // namespace
}  // namespace tarnwick::host::gui::test
