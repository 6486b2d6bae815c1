// The main window with real input: a check run from Download with its progress and Stop, the
// lists' icons and counts, the selection rules, the keys that must do nothing, help and About.
#include "main_window_fixture.h"

#include "gui_support/close_request.h"

#include "check/check_texts.h"
#include "plugin/headless_runs.h"
#include "store/settings_keys.h"
#include "ui/feed_info_dialog.h"
#include "ui/feed_properties_dialog.h"
#include "ui/mailbox_picker.h"
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
// second feed's download has been waiting a while, a press of Stop with the real mouse.
class RunWatcher : public wxTimer {
public:
  RunWatcher(ui::MainWindow& window, HttpServer& server) : window_(window), server_(server) {}

  void Notify() override {
    if (inside_) return;  // taking the screenshot handles events, this timer's among them
    inside_ = true;
    auto* gauge = Child<wxGauge>(window_, ui::kProgressId);
    highestProgress = std::max(highestProgress, gauge->GetValue());
    controlsLocked |=
        window_.FindWindow(ui::kStopId)->IsEnabled() && !window_.FindWindow(ui::kDownloadId)->IsEnabled() &&
        !window_.FindWindow(ui::kFeedListId)->IsEnabled() && !window_.FindWindow(ui::kCloseId)->IsEnabled();
    animated |= Child<wxAnimationCtrl>(window_, ui::kStatusImageId)->IsPlaying();
    busyCursor |= window_.GetCursor().IsOk();
    const std::string general = Child<wxStaticText>(window_, ui::kGeneralStatusId)->GetLabel().utf8_string();
    if (general == check::kNextFeed && server_.HitCount("/f2.xml") > 0 && stopPressed == Clock::time_point()) {
      if (waitingSince == Clock::time_point()) waitingSince = Clock::now();
      if (Clock::now() - waitingSince > 300ms) PressStop();
    }
    inside_ = false;
  }

  int highestProgress = 0;
  bool controlsLocked = false;
  bool animated = false;
  bool busyCursor = false;
  Clock::time_point waitingSince;
  Clock::time_point stopPressed;

private:
  void PressStop() {
    SaveScreenshot(&window_, "main_window_run");
    wxWindow* stop = window_.FindWindow(ui::kStopId);
    wxUIActionSimulator input;
    input.MouseMove(stop->GetScreenRect().GetPosition() + stop->GetSize() / 2);
    input.MouseClick();
    stopPressed = Clock::now();
  }

  ui::MainWindow& window_;
  HttpServer& server_;
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

TEST_F(MainWindowTest, DownloadShowsTheRunAndStopWhileTheSecondFeedDownloadsEndsItAtOnce) {
  // Enough articles that the gauge is seen moving between two drains of the window's events.
  constexpr int kFirstFeedItems = 60;
  AddFeed("f1", kFirstFeedItems, "Box1");
  AddFeed("f2", 1, "Box2");
  server.AddEndpoint("/f2.xml", 200, RssItems("f2", 1), {}, Behaviour::kNeverAnswer);
  AddFeed("f3", 3, "Box3");
  ui::NewsboardWindow newsboard{ui::ViewerContext{}};
  ui::MainWindow window(nullptr, Setup(), Factory(), &newsboard);
  RunWatcher watcher(window, server);
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

  ASSERT_NE(watcher.stopPressed, Clock::time_point()) << "the second feed was never seen downloading";
  EXPECT_LT(closed - watcher.stopPressed, 1s);
  const check::RunReport& report = window.Report();
  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(report.feedsDone, 2);
  ASSERT_EQ(report.feeds.size(), 2u);  // the third feed was not checked
  EXPECT_EQ(report.feeds[1].result, -1);
  EXPECT_EQ(report.feeds[1].problem, check::kStopped);
  EXPECT_EQ(CountMessages("Box1"), kFirstFeedItems);
  EXPECT_EQ(CountMessages("Box2"), 0);
  EXPECT_EQ(CountMessages("Box3"), 0);
  EXPECT_EQ(result, kFirstFeedItems);
  EXPECT_EQ(newsboard.Rows().Count(), static_cast<size_t>(kFirstFeedItems));

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

// Presses Stop with the real mouse once the run shows `phase` in its details line.
class StopDuring : public wxTimer {
public:
  StopDuring(ui::MainWindow& window, std::string phase) : window_(window), phase_(std::move(phase)) {}
  void Notify() override {
    if (pressedAt != Clock::time_point() || LabelOf(window_, ui::kDetailsStatusId).find(phase_) == std::string::npos) {
      return;
    }
    pressedAt = Clock::now();
    PressLater(window_.FindWindow(ui::kStopId));
  }
  Clock::time_point pressedAt;

private:
  ui::MainWindow& window_;
  std::string phase_;
};

TEST_F(MainWindowTest, StopWhileABigFeedIsStagedOrMovedEndsTheRunAtOnceAndTheReportSaysSo) {
  for (const char* phase : {" by ", "Downloading articles... "}) {
    SCOPED_TRACE(phase);
    const std::string newsbox = phase[0] == ' ' ? "Staged" : "Moved";
    const store::FeedSettings big = AddFeed(newsbox, 200, newsbox);
    ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
    StopDuring stop(window, phase);
    WhenMainWindowRuns([&](ui::MainWindow& running) {
      auto& feeds = *Child<wxListCtrl>(running, ui::kFeedListId);
      ClickRow(feeds, feeds.FindItem(-1, wxString::FromUTF8(big.alias)));
      stop.Start(1);
      PressLater(running.FindWindow(ui::kDownloadId));
    });
    window.RunModally();
    const Clock::time_point closed = Clock::now();
    stop.Stop();

    ASSERT_NE(stop.pressedAt, Clock::time_point());
    EXPECT_LT(closed - stop.pressedAt, 500ms);
    const check::RunReport& report = window.Report();
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.stoppedFeed, big.name);
    EXPECT_LT(CountMessages(newsbox), 200);
    EXPECT_EQ(store::SettingsStore(context.settingsPath).ReadText(big.alias, store::kLastArticleKey, "none"), "");
    if (newsbox == "Moved") {
      WhenShown<ui::FeedInfoDialog>([](ui::FeedInfoDialog& dialog) {
        SaveScreenshot(&dialog, "information_dialog_stopped_run");
        PressKey(WXK_RETURN);
      });
      ui::ShowFeedInfoDialog(nullptr, *ui::RunReportInfo(report, "Tarnwick"));
    }
  }
}

// A run changes the details line for every article; the line is set at most once a drain
// interval, and the latest text always ends up shown.
TEST_F(MainWindowTest, QuickDetailsUpdatesEndOnTheLatestText) {
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  window.Show();
  RunEventsFor(50ms);
  window.ShowDetailsStatus("first");
  for (int item = 1; item <= 100; ++item) window.ShowDetailsStatus("item " + std::to_string(item));
  EXPECT_EQ(LabelOf(window, ui::kDetailsStatusId), "first");
  RunEventsFor(50ms);
  EXPECT_EQ(LabelOf(window, ui::kDetailsStatusId), "item 100");
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

TEST_F(MainWindowTest, AFeedThatFailedThreeChecksShowsTheWarningAndItsCauseInTheInformationLine) {
  AddFeed("alpha", 1, "Tech");
  AddFeed("broken", 1, "World");
  server.AddEndpoint("/broken.xml", 500, "");
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  for (int check = 0; check < 3; ++check) {
    EXPECT_EQ(plugin::RunChecksHeadless(context, {"broken"}, {sink, sink, true}), plugin::kRunSomeFailed);
  }
  std::fclose(sink);
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  window.Show();
  RunEventsFor(200ms);
  auto& feeds = *Child<wxListCtrl>(window, ui::kFeedListId);
  ASSERT_EQ(feeds.GetItemCount(), 2);
  EXPECT_EQ(RowImage(feeds, 0), 2);  // alpha: only new articles
  EXPECT_EQ(RowImage(feeds, 1), ui::kFailingFeedImage);

  ClickRow(feeds, 1);
  // The cause is wrapped to the line's width, within its three lines.
  std::string information = LabelOf(window, ui::kInformationId);
  EXPECT_LE(std::count(information.begin(), information.end(), '\n'), 2) << information;
  EXPECT_EQ(information.substr(0, information.find('\n')), "broken - Failing (3 failures in a row):");
  std::replace(information.begin(), information.end(), '\n', ' ');
  EXPECT_EQ(information, "broken - Failing (3 failures in a row): the feed document could not be downloaded");
  SaveScreenshot(&window, "main_window_failing_feed");
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

TEST_F(MainWindowTest, EnterAndTheCloseBoxDoNothingAndCloseKeepsThePosition) {
  AddFeed("alpha", 2, "Tech");
  store::SettingsStore settings(context.settingsPath);
  settings.WriteInt(store::kWindowsSection, "PositionLeft", 40);
  settings.WriteInt(store::kWindowsSection, "PositionTop", 30);
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  EXPECT_EQ(window.GetPosition(), wxPoint(40, 30));
  int closeRequests = 0;
  bool closePressed = false;
  // Presses Close a while after the keys and the close box: the window must still be there.
  class LaterClose : public wxTimer {
  public:
    LaterClose(ui::MainWindow& window, bool& pressed) : window_(window), pressed_(pressed) {}
    void Notify() override {
      window_.Move(70, 50);
      pressed_ = true;
      Click(window_.FindWindow(ui::kCloseId));
    }

  private:
    ui::MainWindow& window_;
    bool& pressed_;
  } laterClose(window, closePressed);
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    ClickRow(*Child<wxListCtrl>(running, ui::kFeedListId), 0);
    PressKey(WXK_RETURN);
    RunEventsFor(300ms);
    closeRequests = RequestCloseByTitle("Tarnwick");
    laterClose.StartOnce(700);
  });
  EXPECT_EQ(window.RunModally(), 0);
  EXPECT_GE(closeRequests, 1);
  EXPECT_TRUE(closePressed) << "the window ended before Close was pressed";
  EXPECT_EQ(server.HitCount("/alpha.xml"), 0);  // Enter did not download
  EXPECT_EQ(window.Report().lastResult, -2);    // and nothing is reported
  EXPECT_EQ(settings.ReadInt(store::kWindowsSection, "PositionLeft", 0), 70);
  EXPECT_EQ(settings.ReadInt(store::kWindowsSection, "PositionTop", 0), 50);
}

TEST_F(MainWindowTest, TheNewsboxMenuClosesTheNewsboxWindowAndOpensTheNewsboxInTheHost) {
  AddFeed("alpha", 1, "Tech");
  AddFeed("beta", 1, "World");
  core_->Windows()->OpenMailboxWindow(core_->Store().FindMailbox("World"), "World");
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  bool worldWindowClosed = false;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    auto& newsboxes = *Child<wxListCtrl>(running, ui::kNewsboxListId);
    // Shift+F10 in the list: the menu's Close asks the host to close the newsbox's window.
    ClickRow(newsboxes, 1);
    ChooseFromNextMenu('c');
    wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT);
    RunEventsFor(800ms);
    worldWindowClosed = core_->Windows()->MailboxWindows().empty();
    // A right click: the menu's Open opens the newsbox in the host, and the window ends.
    wxRect row;
    newsboxes.GetItemRect(0, row);
    wxUIActionSimulator input;
    input.MouseMove(newsboxes.ClientToScreen(row.GetPosition() + wxPoint(20, row.height / 2)));
    RunEventsFor(50ms);
    ChooseFromNextMenu('o', 900);  // the menu waits out the time of a double click
    input.MouseClick(wxMOUSE_BTN_RIGHT);
    RunEventsFor(1300ms);
  });
  window.RunModally();
  EXPECT_TRUE(worldWindowClosed);
  const std::vector<host::MailboxWindow> open = core_->Windows()->MailboxWindows();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].title, "Tech");
  EXPECT_EQ(window.Report().lastResult, ui::kNewsboxOpenedResult);  // no run report afterwards
}

TEST_F(MainWindowTest, HelpAboutAndTheNewsboardAnswerTheirButtonsAndKeys) {
  AddFeed("alpha", 1, "Tech");  // the settings file exists: this is not the first start
  ui::NewsboardWindow newsboard{ui::ViewerContext{}};
  ui::MainWindow window(nullptr, Setup(), Factory(), &newsboard);
  std::string aboutTitle;
  std::vector<std::string> aboutTexts;
  bool newsboardShown = false;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    ClickRow(*Child<wxListCtrl>(running, ui::kFeedListId), 0);
    PressKey(WXK_F1);
    Click(running.FindWindow(ui::kHelpId));
    WhenShown<wxDialog>([&](wxDialog& about) {
      aboutTitle = about.GetTitle().utf8_string();
      for (wxWindow* child : about.GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child)) aboutTexts.push_back(text->GetLabel().utf8_string());
      }
      SaveScreenshot(&about, "about_box");
      Click(about.FindWindow(wxID_OK));
    });
    wxUIActionSimulator().Char(WXK_F1, wxMOD_SHIFT);
    RunEventsFor(500ms);
    Click(running.FindWindow(ui::kNewsboardId));
    newsboardShown = newsboard.IsShown();
    Click(running.FindWindow(ui::kCloseId));
  });
  window.RunModally();
  const std::string page = context.helpPath + "/Downloading Articles.htm";
  EXPECT_EQ(opened, (std::vector<std::string>{page, page}));
  EXPECT_EQ(aboutTitle, "About Tarnwick");
  ASSERT_GE(aboutTexts.size(), 2u);
  EXPECT_EQ(aboutTexts[0], "Tarnwick");
  EXPECT_EQ(aboutTexts[1], "Version: 1.0");
  EXPECT_TRUE(newsboardShown);
}

TEST_F(MainWindowTest, OnlyTheFirstStartOpensGettingStarted) {
  { ui::MainWindow first(nullptr, Setup(), Factory(), nullptr); }
  EXPECT_EQ(opened, (std::vector<std::string>{context.helpPath + "/Getting Started.htm"}));
  AddFeed("alpha", 1, "Tech");
  opened.clear();
  { ui::MainWindow later(nullptr, Setup(), Factory(), nullptr); }
  EXPECT_TRUE(opened.empty());
}

TEST_F(MainWindowTest, EditRedrawsTheFeedAndDeleteRemovesItButKeepsItsNewsbox) {
  AddFeed("alpha", 1, "Tech");
  AddFeed("beta", 1, "World");
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  int iconAfterEdit = -1, feedsAfterRefusal = -1, feedsAfterDelete = -1, newsboxesAfterDelete = -1;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    auto& feeds = *Child<wxListCtrl>(running, ui::kFeedListId);
    WhenShown<ui::FeedPropertiesDialog>([](ui::FeedPropertiesDialog& properties) {
      Click(properties.FindWindow(ui::kDownloadReferringId));
      Click(properties.FindWindow(ui::kPropertiesOkId));
    });
    wxRect row;
    feeds.GetItemRect(0, row);
    ClickAt(&feeds, wxPoint(row.x + 20, row.y + row.height / 2), true);  // a double click edits
    RunEventsFor(300ms);
    iconAfterEdit = RowImage(feeds, 0);
    ClickRow(feeds, 1);
    answer = false;
    Click(running.FindWindow(ui::kDeleteId));
    feedsAfterRefusal = feeds.GetItemCount();
    answer = true;
    Click(running.FindWindow(ui::kDeleteId));
    feedsAfterDelete = feeds.GetItemCount();
    newsboxesAfterDelete = Child<wxListCtrl>(running, ui::kNewsboxListId)->GetItemCount();
    Click(running.FindWindow(ui::kCloseId));
  });
  window.RunModally();
  EXPECT_EQ(iconAfterEdit, 3);  // full articles and only new ones
  EXPECT_EQ(feedsAfterRefusal, 2) << "Delete asks first; No keeps the feed";
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_NE(questions[0].find("\"beta\""), std::string::npos) << questions[0];
  EXPECT_EQ(feedsAfterDelete, 1);
  EXPECT_EQ(newsboxesAfterDelete, 2);
  store::SettingsStore settings(context.settingsPath);
  EXPECT_EQ(settings.ReadInt("alpha", store::kDownloadReferringArticlesKey, 0), 1);
  EXPECT_EQ(settings.ReadText(store::kAliasesSection, "beta", "gone"), "gone");
}

TEST_F(MainWindowTest, AddListsTheNewFeedAndItsNewsbox) {
  AddFeed("alpha", 1, "Tech");
  Create(0, "World", true);
  server.AddEndpoint("/world.xml", 200, RssItems("world", 1));
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  std::vector<std::string> feedsAfterAdd, newsboxesAfterAdd;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    WhenShown<ui::FeedPropertiesDialog>([&](ui::FeedPropertiesDialog& properties) {
      TypeInto(properties.FindWindow(ui::kAliasId), "world");
      TypeInto(properties.FindWindow(ui::kUrlId), server.Url("/world.xml"));
      WhenShown<ui::MailboxPicker>([](ui::MailboxPicker& picker) {
        wxTreeCtrl& tree = picker.Tree();
        wxTreeItemIdValue cookie;
        wxTreeItemId item = tree.GetFirstChild(tree.GetRootItem(), cookie);
        while (item.IsOk() && tree.GetItemText(item) != "World") item = tree.GetNextChild(tree.GetRootItem(), cookie);
        wxRect rect;
        ASSERT_TRUE(tree.GetBoundingRect(item, rect, true));
        ClickAt(&tree, rect.GetPosition() + wxSize(rect.width / 2, rect.height / 2), true);
      });
      Click(properties.FindWindow(ui::kNewsboxButtonId));
      Click(properties.FindWindow(ui::kPropertiesOkId));
    });
    Click(running.FindWindow(ui::kAddId));
    auto& feeds = *Child<wxListCtrl>(running, ui::kFeedListId);
    for (long row = 0; row < feeds.GetItemCount(); ++row) feedsAfterAdd.push_back(feeds.GetItemText(row).utf8_string());
    auto& newsboxes = *Child<wxListCtrl>(running, ui::kNewsboxListId);
    for (long row = 0; row < newsboxes.GetItemCount(); ++row) {
      newsboxesAfterAdd.push_back(newsboxes.GetItemText(row).utf8_string());
    }
    Click(running.FindWindow(ui::kCloseId));
  });
  window.RunModally();
  EXPECT_EQ(feedsAfterAdd, (std::vector<std::string>{"alpha", "world"}));
  ASSERT_EQ(newsboxesAfterAdd.size(), 2u);
  EXPECT_EQ(newsboxesAfterAdd[1].rfind("World (", 0), 0u) << newsboxesAfterAdd[1];
  EXPECT_EQ(store::SettingsStore(context.settingsPath).ReadText("world", store::kNameKey, ""), "world");
}

}  // namespace
}  // namespace tarnwick::test
