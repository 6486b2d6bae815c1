// The plug-in with its windows installed, as in a host that makes windows: the Special-menu entry
// runs the cache-mode window, then the main window, then reports the run in the information
// dialog; an unreachable host is reported in that dialog too; the About box of the plug-in's
// configuration call; the Newsboard made hidden when the windows are installed.
#include "main_window_fixture.h"

#include "platform/ems_records.h"
#include "plugin/special_menu.h"
#include "plugin/window_seams.h"
#include "store/file_utilities.h"
#include "ui/feed_info_dialog.h"
#include "ui/newsboard_window.h"
#include "ui/plugin_windows.h"

#include <wx/stattext.h>

#include <filesystem>

extern "C" {
int32_t ems_plugin_config(void* globals, EmsMailConfig* config);
}

namespace tarnwick::test {
namespace {

using namespace std::chrono_literals;

// What an information dialog showed; it is closed with OK.
struct ShownInfo {
  std::string title;
  std::string text;
};

void RecordNextInfo(ShownInfo& shown, const std::string& screenshot) {
  WhenShown<ui::FeedInfoDialog>([&shown, screenshot](ui::FeedInfoDialog& dialog) {
    shown.title = dialog.GetTitle().utf8_string();
    shown.text = Child<wxStaticText>(dialog, ui::kInfoTextId)->GetLabelText().utf8_string();
    SaveScreenshot(&dialog, screenshot);
    Click(dialog.FindWindow(ui::kInfoOkId));
  });
}

ui::NewsboardWindow* FindNewsboard() {
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* newsboard = dynamic_cast<ui::NewsboardWindow*>(window)) return newsboard;
  }
  return nullptr;
}

class SpecialMenuWindowsTest : public MainWindowFixture {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(plugin::InstallWindows(context));
  }
  void TearDown() override {
    plugin::RemoveWindows();
    MainWindowFixture::TearDown();
  }

  int32_t OpenFromSpecialMenu() {
    EmsMenu menu{sizeof(EmsMenu), 1, nullptr, nullptr, 0};
    return plugin::RunSpecialMenuEntry(context, &menu);
  }
};

TEST_F(SpecialMenuWindowsTest, TheNewsboardIsMadeHiddenAndGoesWithTheWindows) {
  ui::NewsboardWindow* newsboard = FindNewsboard();
  ASSERT_NE(newsboard, nullptr);
  EXPECT_FALSE(newsboard->IsShown());
  EXPECT_TRUE(plugin::InstallWindows(context));  // a second init makes no second Newsboard
  EXPECT_EQ(std::count_if(wxTopLevelWindows.begin(), wxTopLevelWindows.end(),
                          [](wxWindow* window) { return dynamic_cast<ui::NewsboardWindow*>(window) != nullptr; }),
            1);
  plugin::RemoveWindows();
  EXPECT_EQ(FindNewsboard(), nullptr);
}

TEST_F(SpecialMenuWindowsTest, CachedFeedsComeFirstThenTheRunOfThreeFeedsIsReported) {
  AddFeed("cached", 1, "Cache");
  std::filesystem::create_directories(data_.File("Feeds"));
  WriteFileBytes(store::FeedCachePath(data_.Path(), "cached"), RssItems("cached", 2));
  AddFeed("f1", 2, "Box1");
  AddFeed("f2", 0, "Box2");
  AddFeed("f3", 1, "Box3");
  int cachedBeforeMainWindow = -1;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    cachedBeforeMainWindow = CountMessages("Cache");
    auto& feeds = *Child<wxListCtrl>(running, ui::kFeedListId);
    ClickRow(feeds, 1);
    ClickRow(feeds, 3, true);
    wxWindow* download = running.FindWindow(ui::kDownloadId);
    wxUIActionSimulator input;  // the window's own loop takes the click and runs the check
    input.MouseMove(download->GetScreenRect().GetPosition() + download->GetSize() / 2);
    input.MouseClick();
  });
  ShownInfo report;
  RecordNextInfo(report, "information_dialog_run_report");

  EXPECT_EQ(OpenFromSpecialMenu(), 0);
  EXPECT_EQ(cachedBeforeMainWindow, 2);
  EXPECT_FALSE(store::FileExists(store::FeedCachePath(data_.Path(), "cached")));
  EXPECT_EQ(server.HitCount("/cached.xml"), 0);
  EXPECT_EQ(CountMessages("Box1") + CountMessages("Box2") + CountMessages("Box3"), 3);
  EXPECT_EQ(report.title, "You've Got New Articles!");
  EXPECT_EQ(report.text, "\n\n\n\t\t\tYou've got 3 new articles.");
  ASSERT_NE(FindNewsboard(), nullptr);
  EXPECT_EQ(FindNewsboard()->Rows().Count(), 5u);  // both windows announced their articles
  EXPECT_TRUE(FindNewsboard()->IsShown());
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuWindowsTest, ClosingWithoutARunReportsNothing) {
  AddFeed("f1", 1, "Box1");
  WhenMainWindowRuns([](ui::MainWindow& running) { Click(running.FindWindow(ui::kCloseId)); });
  // Closes an information dialog, should one come; it lives no longer than this test.
  class InfoCloser : public wxTimer {
  public:
    void Notify() override {
      for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<ui::FeedInfoDialog*>(window);
        if (dialog == nullptr || !dialog->IsModal()) continue;
        shown = true;
        dialog->EndModal(1);
      }
    }
    bool shown = false;
  } closer;
  closer.Start(20);
  EXPECT_EQ(OpenFromSpecialMenu(), 0);
  EXPECT_FALSE(closer.shown);
}

TEST_F(SpecialMenuWindowsTest, AnUnreachableHostIsReportedInTheInformationDialog) {
  ASSERT_TRUE(core_->Store().SetAutomationEnabled(false).ok);
  ShownInfo shown;
  RecordNextInfo(shown, "information_dialog_automation_error");
  EXPECT_EQ(OpenFromSpecialMenu(), 8);
  EXPECT_EQ(shown.title, "Tarnwick - COM Error");
  EXPECT_EQ(shown.text.rfind("This plugin requires Eudora's COM server.\n", 0), 0u) << shown.text;
  EXPECT_NE(shown.text.find(core_->AutomationRefusal()), std::string::npos) << shown.text;
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(SpecialMenuWindowsTest, TheConfigurationCallShowsTheAboutBox) {
  plugin::PluginContext& global = plugin::Context();
  const std::string product = std::exchange(global.productName, "Tarnwick");
  const std::string version = std::exchange(global.versionText, "Version: 1.0");
  std::string title;
  WhenShown<wxDialog>([&title](wxDialog& about) {
    title = about.GetTitle().utf8_string();
    Click(about.FindWindow(wxID_OK));
  });
  EXPECT_EQ(ems_plugin_config(nullptr, nullptr), 0);
  global.productName = product;
  global.versionText = version;
  EXPECT_EQ(title, "About Tarnwick");
}

}  // namespace
}  // namespace tarnwick::test
