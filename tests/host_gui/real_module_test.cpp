// The whole program as a user meets it: the host's window with the real Tarnwick module in its
// plug-ins folder. A feed is added in Tarnwick's main window, opened from the Special menu, and
// downloaded; its articles show in the newsbox's tab. The Message menu's translator opens an
// article in the viewer, or, with Ctrl held, puts the article's web page into the message.
#include "real_module_fixture.h"

#include "dialog_driver.h"
#include "gui/host_frame.h"
#include "gui/mailbox_panel.h"
#include "gui_support/gui_test_support.h"
#include "screen_probe.h"
#include "ui/feed_info_dialog.h"
#include "ui/feed_properties_dialog.h"
#include "ui/main_window.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include <map>

namespace tarnwick::host::gui::test {
namespace {

using namespace std::chrono_literals;
using tarnwick::test::Click;
using tarnwick::test::RunEventsFor;
using tarnwick::test::RunEventsUntil;
using tarnwick::test::SaveScreenshot;

constexpr char kProductName[] = "Tarnwick";
constexpr char kTranslatorName[] = "Get the Full Article";

class RealModuleTest : public RealModuleFixture {
protected:
  void SetUp() override {
    RealModuleFixture::SetUp();
    for (const char* name : {"first", "second", "third"}) {
      server_.AddEndpoint("/" + std::string(name), 200,
                          "<html><body><p>The whole " + std::string(name) + " story.</p></body></html>",
                          {{"Content-Type", "text/html; charset=utf-8"}});
    }
  }

  // Adds the feed "Daily" delivering into Archive through Feed Properties and the picker, its first
  // check limited to the two newest articles.
  void AddDailyFeed(wxWindow& main) {
    tarnwick::test::WhenTitled("Feed Properties", [this](wxWindow& properties) {
      tarnwick::test::TypeInto(properties.FindWindow(ui::kAliasId), "Daily");
      tarnwick::test::TypeInto(properties.FindWindow(ui::kUrlId), server_.Url("/feed.xml"));
      Click(properties.FindWindow(ui::kFirstCheckBoxId));
      tarnwick::test::TypeInto(properties.FindWindow(ui::kFirstCheckId), "2");
      tarnwick::test::WhenTitled("Mailboxes", [](wxWindow& picker) {
        wxTreeCtrl* tree = nullptr;
        for (wxWindow* child : picker.GetChildren()) {
          if (auto* found = dynamic_cast<wxTreeCtrl*>(child)) tree = found;
        }
        ASSERT_NE(tree, nullptr) << "the picker shows the host's mailboxes in a tree";
        SaveScreenshot(&picker, "end_to_end_picker");
        tarnwick::test::DoubleClickItem(*tree, tarnwick::test::ChildNamed(*tree, tree->GetRootItem(), "Archive"));
      });
      Click(properties.FindWindow(ui::kNewsboxButtonId));
      RunEventsFor(200ms);
      SaveScreenshot(&properties, "end_to_end_feed_properties");
      Click(properties.FindWindow(ui::kPropertiesOkId));
    });
    Click(main.FindWindow(ui::kAddId));
  }
};

TEST_F(RealModuleTest, AFeedAddedFromTheSpecialMenuDeliversIntoItsNewsboxsTab) {
  const int32_t archive = MailboxId("Archive");
  Core().Windows()->OpenMailboxWindow(archive, "Archive");
  std::string reportTitle;
  tarnwick::test::WhenTitled(kProductName, [&](wxWindow& main) {
    AddDailyFeed(main);
    auto* feeds = dynamic_cast<wxListCtrl*>(main.FindWindow(ui::kFeedListId));
    ASSERT_TRUE(feeds != nullptr && feeds->GetItemCount() == 1);
    wxRect row;
    ASSERT_TRUE(feeds->GetItemRect(0, row));
    tarnwick::test::ClickAt(feeds, row.GetPosition() + wxPoint(20, row.height / 2));
    SaveScreenshot(&main, "end_to_end_main_window");
    // The run keeps the window's events flowing: it is looked at while Stop is live. The window's
    // own loop takes the click on Download, and the window closes with its report when the run ends.
    tarnwick::test::WhenReady(
        [&main](wxWindow& window) { return &window == &main && main.FindWindow(ui::kStopId)->IsEnabled(); },
        [](wxWindow& running) { SaveScreenshot(&running, "end_to_end_main_window_during_run"); });
    tarnwick::test::WhenShown<wxDialog>([&](wxDialog& report) {
      reportTitle = report.GetTitle().utf8_string();
      SaveScreenshot(&report, "end_to_end_run_report");
      Click(report.FindWindow(ui::kInfoOkId));
    });
    wxWindow* download = main.FindWindow(ui::kDownloadId);
    wxUIActionSimulator input;
    input.MouseMove(download->GetScreenRect().GetPosition() + download->GetSize() / 2);
    input.MouseClick();
  });
  ChooseMenuItem("Special", "Tarnwick...");
  ASSERT_TRUE(RunEventsUntil([&] { return !reportTitle.empty(); }, 90s));
  EXPECT_EQ(reportTitle, "You've Got New Articles!");
  EXPECT_EQ(MessagesIn(archive), 2) << "the first check delivers the two newest of three";

  // The Newsboard came forward with the new articles; it is looked at and put away.
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->GetLabel() != "News Board") continue;
    EXPECT_TRUE(window->IsShown());
    SaveScreenshot(window, "end_to_end_newsboard");
    window->Hide();
  }
  MailboxPanel* panel = Frame().PanelOf(archive);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(RunEventsUntil([&] { return panel->List()->GetItemCount() == 2; }, 10s)) << "the tab follows the moves";
  ClickMessageRow(0);
  SaveScreenshot(&Frame(), "end_to_end_host_with_articles");
}

// Answers the module's message box, a dialog of the toolkit's own that is none of this program's
// windows, with Return once the X server shows it.
class MessageBoxAnswerer : public wxTimer {
public:
  MessageBoxAnswerer() { Start(100); }
  void Notify() override {
    const wxRect box = TopLevelWindowRect("tarnwick");
    if (box.IsEmpty()) return;
    Stop();
    wxUIActionSimulator input;
    input.KeyUp(WXK_CONTROL);  // held for the translator
    input.MouseMove(box.GetPosition() + box.GetSize() / 2);
    input.Char(WXK_RETURN);
    answered = true;
  }
  bool answered = false;
};

// Present when the program runs under the leak checker.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

// Messages in Archive whose web pages the loopback server has, but for "Gone".
class TranslatorThroughTheHostTest : public RealModuleTest {
protected:
  void SetUp() override {
    // After the native message box and the web view, a thread of the toolkit holds a thread-storage
    // record that the leak checker's tracer cannot read at the program's end, and it crashes there.
    // The test runs in the release tree.
    if (__lsan_do_leak_check != nullptr) GTEST_SKIP() << "the leak checker cannot end this program";
    RealModuleTest::SetUp();
    archive_ = MailboxId("Archive");
    for (const char* name : {"first", "second", "third", "gone"}) {
      std::string message = HtmlMessage(name, "Daily", "<p>Summary.</p>");
      const std::string website = "http://127.0.0.1:9/article";
      message.replace(message.find(website), website.size(), server_.Url("/" + std::string(name)));
      uint32_t id = 0;
      ASSERT_TRUE(Core().Store().AddMessage(archive_, message, kStateUnread, &id).ok);
      ids_[name] = id;
    }
    Core().Windows()->OpenMailboxWindow(archive_, "Archive");
    ASSERT_TRUE(RunEventsUntil([&] { return Frame().PanelOf(archive_) != nullptr; }));
  }

  // Selects the message and runs the translator on it with those keys held.
  void Translate(const std::string& name, std::initializer_list<wxKeyCode> held) {
    wxListCtrl* list = Frame().PanelOf(archive_)->List();
    ClickMessageRow(list->FindItem(-1, name));
    ASSERT_EQ(Frame().PanelOf(archive_)->SelectedMessage(), ids_[name]);
    wxUIActionSimulator keys;
    for (const wxKeyCode key : held) keys.KeyDown(key);
    RunEventsFor(100ms);
    wxCommandEvent translate(wxEVT_MENU, Frame().GetMenuBar()->FindMenuItem("Message", kTranslatorName));
    Frame().ProcessWindowEvent(translate);
    for (const wxKeyCode key : held) keys.KeyUp(key);
    RunEventsFor(100ms);
  }
  std::string Stored(const std::string& name) {
    std::string stored;
    EXPECT_TRUE(Core().Store().ReadMessage(archive_, ids_[name], stored).ok);
    return stored;
  }
  bool StatusSays(const std::string& text) {
    return RunEventsUntil([&] { return StatusBarText().find(text) != std::string::npos; }, 10s);
  }

  int32_t archive_ = 0;
  std::map<std::string, uint32_t> ids_;
};

TEST_F(TranslatorThroughTheHostTest, WithoutCtrlTheViewerOpensWithCtrlThePageReplacesTheBody) {
  const std::string before = Stored("first");
  Translate("first", {});
  wxWindow* viewer = nullptr;
  ASSERT_TRUE(RunEventsUntil(
      [&] {
        for (wxWindow* window : wxTopLevelWindows) {
          if (window->IsShown() && window->GetLabel().EndsWith(", first")) viewer = window;
        }
        return viewer != nullptr;
      },
      20s));
  RunEventsFor(1s);
  SaveScreenshot(viewer, "end_to_end_article_viewer");
  viewer->Close();
  EXPECT_EQ(Stored("first"), before);
  EXPECT_EQ(StatusBarText().find("result"), std::string::npos) << "opened in the viewer: " << StatusBarText();

  Translate("second", {WXK_CONTROL});
  EXPECT_TRUE(StatusSays("replaced")) << StatusBarText();
  EXPECT_NE(Stored("second").find("<p>The whole second story.</p>"), std::string::npos) << Stored("second");

  Translate("third", {WXK_CONTROL, WXK_SHIFT});
  EXPECT_TRUE(StatusSays("replaced")) << StatusBarText();
  EXPECT_NE(Stored("third").find("The whole third story."), std::string::npos) << Stored("third");
  EXPECT_EQ(Stored("third").find("<p>"), std::string::npos) << "plain text: " << Stored("third");

  const std::string gone = Stored("gone");
  MessageBoxAnswerer answerer;
  Translate("gone", {WXK_CONTROL});
  EXPECT_TRUE(answerer.answered) << "the failed download is told in a message box";
  EXPECT_TRUE(StatusSays("(result 12)")) << StatusBarText();
  EXPECT_EQ(Stored("gone"), gone);
}

}  // namespace
}  // namespace tarnwick::host::gui::test
