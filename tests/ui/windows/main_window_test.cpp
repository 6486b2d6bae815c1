// The main window with real input: a check run from Download with its progress and Stop, the
// lists' icons and counts, the selection rules, the keys that must do nothing, help and About.
#include "main_window_fixture.h"

#include "gui_support/close_request.h"

#include "check/check_texts.h"
#include "store/settings_keys.h"
#include "ui/main_window_texts.h"
#include "ui/newsboard_window.h"

#include <wx/animate.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace tarnwick::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Watches a window while it runs a check: what the run shows between its steps, and, once the
// second feed is being checked, a press of Stop with the real mouse.
class RunWatcher : public wxTimer {
public:
  explicit RunWatcher(ui::MainWindow& window) : window_(window) {}

  void Notify() override {
    if (inside_) return;  // taking the screenshot handles events, this timer's among them
    inside_ = true;
    auto* gauge = Child<wxGauge>(window_, ui::kProgressId);
    auto* stop = Child<wxButton>(window_, ui::kStopId);
    highestProgress = std::max(highestProgress, gauge->GetValue());
    controlsLocked |= stop->IsEnabled() && !window_.FindWindow(ui::kDownloadId)->IsEnabled() &&
                      !window_.FindWindow(ui::kFeedListId)->IsEnabled() &&
                      !window_.FindWindow(ui::kCloseId)->IsEnabled();
    animated |= Child<wxAnimationCtrl>(window_, ui::kStatusImageId)->IsPlaying();
    busyCursor |= window_.GetCursor().IsOk();
    const std::string general = Child<wxStaticText>(window_, ui::kGeneralStatusId)->GetLabel().utf8_string();
    if (general == "Checking f2 Feed for new articles..." && stopPressed == Clock::time_point()) {
      SaveScreenshot(&window_, "main_window_run");
      wxUIActionSimulator input;
      input.MouseMove(stop->GetScreenRect().GetPosition() + stop->GetSize() / 2);
      input.MouseClick();
      stopPressed = Clock::now();
    }
    inside_ = false;
  }

  int highestProgress = 0;
  bool controlsLocked = false;
  bool animated = false;
  bool busyCursor = false;
  Clock::time_point stopPressed;

private:
  ui::MainWindow& window_;
  bool inside_ = false;
};

// Presses a button with the real mouse and returns at once: the window's own loop takes the click,
// so that a run it starts is not nested in this caller's handling of events.
void PressLater(wxWindow* button) {
  wxUIActionSimulator input;
  input.MouseMove(button->GetScreenRect().GetPosition() + button->GetSize() / 2);
  input.MouseClick();
}

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, DownloadShowsTheRunAndStopDuringTheSecondFeedLeavesTheThirdUnchecked) {
  AddFeed("f1", 3, "Box1");
  AddFeed("f2", 3, "Box2");
  AddFeed("f3", 3, "Box3");
  ui::NewsboardWindow newsboard{ui::ViewerContext{}};
  ui::MainWindow window(nullptr, Setup(), Factory(), &newsboard);
  RunWatcher watcher(window);
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    auto& feeds = *Child<wxListCtrl>(running, ui::kFeedListId);
    ClickRow(feeds, 0);
    ClickRow(feeds, 2, true);
    EXPECT_EQ(feeds.GetSelectedItemCount(), 3);
    watcher.Start(1);
    PressLater(running.FindWindow(ui::kDownloadId));
  });
  const int result = window.RunModally();
  const Clock::time_point closed = Clock::now();
  watcher.Stop();

  ASSERT_NE(watcher.stopPressed, Clock::time_point()) << "the second feed was never seen being checked";
  EXPECT_LT(closed - watcher.stopPressed, 1s);
  EXPECT_EQ(server.HitCount("/f3.xml"), 0);
  EXPECT_EQ(CountMessages("Box1"), 3);
  EXPECT_EQ(CountMessages("Box2"), 3);
  EXPECT_EQ(CountMessages("Box3"), 0);
  EXPECT_EQ(window.Report().feedsDone, 2);
  EXPECT_TRUE(window.Report().stopped);
  EXPECT_EQ(result, 6);
  EXPECT_EQ(newsboard.Rows().Count(), 6u);

  EXPECT_GT(watcher.highestProgress, 0);
  EXPECT_TRUE(watcher.controlsLocked);
  EXPECT_TRUE(watcher.animated);
  EXPECT_TRUE(watcher.busyCursor);
  EXPECT_FALSE(Child<wxAnimationCtrl>(window, ui::kStatusImageId)->IsPlaying());
  EXPECT_FALSE(window.GetCursor().IsOk());
}

std::string LabelOf(wxWindow& window, int id) {
  return Child<wxStaticText>(window, id)->GetLabel().utf8_string();
}

TEST_F(MainWindowTest, FeedIconsShowTheirOptionsAndANewsboxWithoutCountsShowsMinusOne) {
  AddFeed("everything", 1, "Full", 1, 1, 1);
  AddFeed("nothing", 1, "Plain", 0, 0, 0);
  std::remove(data_.File("Plain.toc").c_str());
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  window.Show();
  RunEventsFor(200ms);
  auto& feeds = *Child<wxListCtrl>(window, ui::kFeedListId);
  auto& newsboxes = *Child<wxListCtrl>(window, ui::kNewsboxListId);
  ASSERT_EQ(feeds.GetItemCount(), 2);
  EXPECT_EQ(feeds.GetItemText(0), "everything");
  EXPECT_EQ(RowImage(feeds, 0), 7);
  EXPECT_EQ(RowImage(feeds, 1), 0);
  ASSERT_EQ(newsboxes.GetItemCount(), 2);
  EXPECT_EQ(newsboxes.GetItemText(1), "Plain (-1/-1)");
  EXPECT_EQ(RowImage(newsboxes, 1), ui::kEmptyNewsboxImage);
  EXPECT_EQ(LabelOf(window, ui::kGeneralStatusId), "Ready. For Help, press F1.");
  SaveScreenshot(&window, "main_window");
}

TEST_F(MainWindowTest, TwoSelectedFeedsDisableEditAndDeleteAndRunTheClock) {
  AddFeed("alpha", 1, "Tech");
  AddFeed("beta", 1, "World");
  store::SettingsStore(context.settingsPath).WriteText("alpha", store::kLastArticleKey, "06/01/2003 10:00:00");
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  window.Show();
  RunEventsFor(200ms);
  auto& feeds = *Child<wxListCtrl>(window, ui::kFeedListId);
  auto& newsboxes = *Child<wxListCtrl>(window, ui::kNewsboxListId);
  wxWindow* edit = window.FindWindow(ui::kEditId);
  wxWindow* remove = window.FindWindow(ui::kDeleteId);
  wxWindow* download = window.FindWindow(ui::kDownloadId);
  EXPECT_FALSE(download->IsEnabled());  // nothing selected yet

  ClickRow(feeds, 0);
  EXPECT_TRUE(edit->IsEnabled() && remove->IsEnabled() && download->IsEnabled());
  EXPECT_EQ(LabelOf(window, ui::kInformationId), "alpha - Last Article: \n06/01/2003 10:00:00");
  EXPECT_EQ(newsboxes.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 0);  // Tech

  ClickRow(feeds, 1, true);
  EXPECT_EQ(feeds.GetSelectedItemCount(), 2);
  EXPECT_FALSE(edit->IsEnabled());
  EXPECT_FALSE(remove->IsEnabled());
  EXPECT_TRUE(download->IsEnabled());
  const std::string clock = LabelOf(window, ui::kInformationId);
  EXPECT_EQ(clock.rfind("Current Time: \n", 0), 0u) << clock;
  EXPECT_TRUE(RunEventsUntil([&] { return LabelOf(window, ui::kInformationId) != clock; }, 2500ms));

  // Choosing a newsbox leaves only its own feeds selected.
  ClickRow(newsboxes, 1);
  EXPECT_EQ(feeds.GetSelectedItemCount(), 1);
  EXPECT_EQ(feeds.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 1);
  EXPECT_TRUE(edit->IsEnabled());
}

TEST_F(MainWindowTest, EnterEscapeAndTheCloseBoxDoNothingAndCloseKeepsThePosition) {
  AddFeed("alpha", 2, "Tech");
  store::SettingsStore settings(context.settingsPath);
  settings.WriteInt(store::kWindowsSection, "PositionLeft", 40);
  settings.WriteInt(store::kWindowsSection, "PositionTop", 30);
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  EXPECT_EQ(window.GetPosition(), wxPoint(40, 30));
  bool afterEnter = false, afterEscape = false, afterCloseBox = false;
  int closeRequests = 0;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    ClickRow(*Child<wxListCtrl>(running, ui::kFeedListId), 0);
    PressKey(WXK_RETURN);
    RunEventsFor(300ms);
    afterEnter = running.IsRunning() && running.IsShown();
    PressKey(WXK_ESCAPE);
    RunEventsFor(200ms);
    afterEscape = running.IsRunning() && running.IsShown();
    closeRequests = RequestCloseByTitle("Tarnwick");
    RunEventsFor(300ms);
    afterCloseBox = running.IsRunning() && running.IsShown();
    running.Move(70, 50);
    Click(running.FindWindow(ui::kCloseId));
  });
  EXPECT_EQ(window.RunModally(), 0);
  EXPECT_TRUE(afterEnter);
  EXPECT_TRUE(afterEscape);
  EXPECT_GE(closeRequests, 1);
  EXPECT_TRUE(afterCloseBox);
  EXPECT_EQ(server.HitCount("/alpha.xml"), 0);  // Enter did not download
  EXPECT_EQ(window.Report().lastResult, -2);    // and nothing is reported
  EXPECT_EQ(settings.ReadInt(store::kWindowsSection, "PositionLeft", 0), 70);
  EXPECT_EQ(settings.ReadInt(store::kWindowsSection, "PositionTop", 0), 50);
}

}  // namespace
}  // namespace tarnwick::test
