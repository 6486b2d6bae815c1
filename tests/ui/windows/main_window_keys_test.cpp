// What a newcomer reaches for in the main window, with real input: Escape, the selection keys of
// a freshly opened window, the feed menu's Select All, the Import and Export buttons, and the
// right double click on both lists.
#include "main_window_fixture.h"

#include "feed/download_proxy.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "ui/feed_list_files.h"
#include "ui/feed_properties_dialog.h"
#include "ui/network_options_dialog.h"

#include <wx/button.h>

#include <chrono>

namespace tarnwick::test {
namespace {

using namespace std::chrono_literals;

class MainWindowKeysTest : public MainWindowFixture {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    for (const char* alias : {"alpha", "beta", "gamma"}) AddFeed(alias, 1, std::string(alias) + "box");
  }
  static int Selected(ui::MainWindow& window) {
    return Child<wxListCtrl>(window, ui::kFeedListId)->GetSelectedItemCount();
  }
};

// Presses Close when the window is still there a while later, so that a test never hangs.
class CloseLater : public wxTimer {
public:
  explicit CloseLater(ui::MainWindow& window) : window_(window) {}
  void Notify() override {
    needed = true;
    Click(window_.FindWindow(ui::kCloseId));
  }
  bool needed = false;

private:
  ui::MainWindow& window_;
};

TEST_F(MainWindowKeysTest, EscapeClosesTheWindowWhenNoRunIsGoing) {
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  CloseLater fallback(window);
  WhenMainWindowRuns([&](ui::MainWindow&) {
    fallback.StartOnce(3000);
    PressKey(WXK_ESCAPE);
  });
  window.RunModally();
  EXPECT_FALSE(fallback.needed) << "Escape ended the window";
  EXPECT_TRUE(window.HasFlag(wxSTAY_ON_TOP)) << "the window stays above the host's";
}

TEST_F(MainWindowKeysTest, SelectionKeysWorkInAFreshlyOpenedWindow) {
  const struct {
    int key;
    int modifiers;
    int selected;
  } cases[] = {
      {WXK_END, wxMOD_SHIFT, 3},
      {WXK_DOWN, wxMOD_SHIFT, 2},
      {'A', wxMOD_CONTROL, 3},
  };
  for (const auto& c : cases) {
    ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
    int selected = -1;
    bool downloadEnabled = false;
    WhenMainWindowRuns([&](ui::MainWindow& running) {
      wxUIActionSimulator().Char(c.key, c.modifiers);
      RunEventsFor(300ms);
      selected = Selected(running);
      downloadEnabled = running.FindWindow(ui::kDownloadId)->IsEnabled();
      Click(running.FindWindow(ui::kCloseId));
    });
    window.RunModally();
    EXPECT_EQ(selected, c.selected) << c.key;
    EXPECT_TRUE(downloadEnabled) << c.key;
  }
}

TEST_F(MainWindowKeysTest, TheFeedMenuSelectsAllAndTheButtonsExportAndImport) {
  const std::string exported = data_.File("export.opml");
  const ui::FeedListFileChooser previous = ui::SetFeedListFileChooser([&](ui::FeedListFileUse) { return exported; });
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  int selected = -1;
  std::string exportedBytes;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    ClickRow(*Child<wxListCtrl>(running, ui::kFeedListId), 0);
    ChooseFromNextMenu('a');
    wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT);
    RunEventsFor(800ms);
    selected = Selected(running);
    Click(running.FindWindow(ui::kExportFeedsCommand));
    exportedBytes = ReadFileBytes(exported);
    std::remove(context.settingsPath.c_str());  // the import finds every feed new again
    Click(running.FindWindow(ui::kImportFeedsCommand));
    Click(running.FindWindow(ui::kCloseId));
  });
  window.RunModally();
  ui::SetFeedListFileChooser(previous);
  EXPECT_EQ(selected, 3);
  EXPECT_NE(exportedBytes.find(server.Url("/gamma.xml")), std::string::npos) << exportedBytes;
  ASSERT_FALSE(messageBoxes_.empty()) << "the import reports";
  EXPECT_NE(messageBoxes_.back().find("Added \"gamma\""), std::string::npos) << messageBoxes_.back();
}

TEST_F(MainWindowKeysTest, TheNetworkButtonStoresTheProxyChoiceOnOkAndNothingOnCancel) {
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    WhenTitled("Network Options", [&](wxWindow& dialog) {
      SaveScreenshot(&dialog, "network_options");
      Click(dialog.FindWindow(ui::kNoProxyId));
      Click(dialog.FindWindow(wxID_OK));
    });
    Click(running.FindWindow(ui::kNetworkOptionsId));
    WhenTitled("Network Options", [&](wxWindow& dialog) {
      Click(dialog.FindWindow(ui::kProxyFromEnvironmentId));
      Click(dialog.FindWindow(wxID_CANCEL));
    });
    Click(running.FindWindow(ui::kNetworkOptionsId));
    Click(running.FindWindow(ui::kCloseId));
  });
  window.RunModally();
  EXPECT_EQ(store::SettingsStore(context.settingsPath).ReadText(store::kNetworkSection, store::kProxyKey, ""), "none");
  EXPECT_EQ(feed::CurrentProxy().kind, feed::ProxySetting::Kind::kNone);
  feed::UseProxy({});
}

TEST_F(MainWindowKeysTest, ARightDoubleClickEditsAFeedAndOpensANewsbox) {
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  bool propertiesShown = false;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    auto rightDoubleClick = [](wxListCtrl& list, long row) {
      wxRect rect;
      list.GetItemRect(row, rect);
      wxUIActionSimulator input;
      input.MouseMove(list.ClientToScreen(rect.GetPosition() + wxPoint(20, rect.height / 2)));
      RunEventsFor(50ms);
      input.MouseDblClick(wxMOUSE_BTN_RIGHT);
      RunEventsFor(800ms);
    };
    WhenShown<ui::FeedPropertiesDialog>([&](ui::FeedPropertiesDialog& properties) {
      propertiesShown = properties.IsModal();
      Click(properties.FindWindow(ui::kPropertiesCancelId));
    });
    rightDoubleClick(*Child<wxListCtrl>(running, ui::kFeedListId), 1);
    rightDoubleClick(*Child<wxListCtrl>(running, ui::kNewsboxListId), 2);
  });
  CloseLater fallback(window);
  fallback.StartOnce(8000);
  window.RunModally();
  EXPECT_TRUE(propertiesShown) << "Edit ran";
  EXPECT_FALSE(fallback.needed) << "opening the newsbox ended the window";
  const std::vector<host::MailboxWindow> open = core_->Windows()->MailboxWindows();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].title, "gammabox");
  EXPECT_EQ(window.Report().lastResult, ui::kNewsboxOpenedResult);
}

}  // namespace
}  // namespace tarnwick::test
