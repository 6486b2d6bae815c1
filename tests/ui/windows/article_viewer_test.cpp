// The article viewer on the real web engine, against pages served on 127.0.0.1.
#include "ui/article_viewer.h"
#include "ui/article_viewer_ids.h"

#include "gui_support/gui_test_support.h"
#include "host_fixture.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>
#include <wx/webview.h>

namespace tarnwick::ui {
namespace {

using namespace std::chrono_literals;

std::string Headers(const std::string& website) {
  return "Subject: Big news\r\nFrom: Ann\r\nDate: Tue, 10 Jun 2003 04:00:00\r\nFeed: Daily\r\nWebsite: " + website +
         "\r\n\r\n";
}

class ArticleViewerTest : public ::testing::Test {
protected:
  ArticleViewer* Open(const std::string& website, const std::string& body) {
    ViewerContext context;
    context.settingsPath = dir_.File("tarnwick.ini");
    context.hostDataFolder = dir_.Path();
    viewer_ = ArticleViewer::Open(context, Headers(website), body);
    return viewer_;
  }
  std::string Script(const std::string& script) {
    wxString out;
    viewer_->WebView()->RunScript(wxString::FromUTF8(script), &out);
    return out.utf8_string();
  }
  void Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    viewer_->ProcessWindowEvent(event);
  }
  void TearDown() override {
    if (viewer_ != nullptr) viewer_->Destroy();
    EXPECT_TRUE(test::RunEventsUntil([this] { return viewer_ == nullptr; }, 5s)) << "the viewer is gone";
  }

  test::TempDir dir_;
  test::HttpServer server_;
  wxWeakRef<ArticleViewer> viewer_;
};

TEST_F(ArticleViewerTest, CapturesTheLoadedPagesBodyAndShowsItAsSource) {
  server_.AddEndpoint("/page", 200, "<html><head><title>P</title></head><body><h1>Hello</h1><p>world</p></body></html>",
                      {{"Content-Type", "text/html"}});
  Open(server_.Url("/page"), "<p>stored</p>");
  ASSERT_TRUE(test::RunEventsUntil([&] { return !viewer_->Model().CurrentContent().empty(); }, 20s));
  EXPECT_EQ(viewer_->Model().CurrentContent(), "<h1>Hello</h1><p>world</p>");
  EXPECT_EQ(viewer_->GetTitle().utf8_string(), "Daily, Tue, 10 Jun 2003 04:00:00, Big news");

  Command(kSourceCommand);
  EXPECT_TRUE(viewer_->SourcePane()->IsShown());
  EXPECT_FALSE(viewer_->WebView()->IsShown());
  EXPECT_EQ(viewer_->SourcePane()->GetValue().utf8_string(), "<h1>Hello</h1><p>world</p>");
  test::SaveScreenshot(viewer_, "article-viewer-source");
}

TEST_F(ArticleViewerTest, ShowsTheStoredBodyWithoutRunningItsScripts) {
  const std::string body =
      "<p id='stored'>stored text</p><script>document.title='script ran'</script>"
      "<img src='nowhere.png' onerror=\"document.title='handler ran'\">";
  Open("", body);
  Command(kNewsboxArticleCommand);
  ASSERT_TRUE(
      test::RunEventsUntil([&] { return Script("document.getElementById('stored') ? 'yes' : 'no'") == "yes"; }, 20s));
  test::RunEventsFor(500ms);  // time for an image error handler, had it been allowed to run
  EXPECT_EQ(Script("document.getElementById('stored').textContent"), "stored text");
  EXPECT_EQ(Script("document.title"), "") << "neither the script nor the event handler ran";
  EXPECT_EQ(viewer_->Model().CurrentContent(), body);
  test::SaveScreenshot(viewer_, "article-viewer-newsbox");
}

TEST_F(ArticleViewerTest, AFailedPageLeavesTheStoredBodyReachableAndEscapeDoesNotClose) {
  Open("http://127.0.0.1:1/nothing-listens-here", "<p>stored</p>");
  test::RunEventsFor(1500ms);
  EXPECT_EQ(viewer_->Model().CurrentContent(), "") << "the engine's error page is not taken as the article";
  Command(kNewsboxArticleCommand);
  EXPECT_EQ(viewer_->Model().CurrentContent(), "<p>stored</p>");

  viewer_->Raise();
  viewer_->SetFocus();
  wxUIActionSimulator().Char(WXK_ESCAPE);
  test::RunEventsFor(200ms);
  EXPECT_TRUE(viewer_->IsShown());
}

TEST_F(ArticleViewerTest, ClosingWritesThePlacementKeys) {
  Open("", "<p>stored</p>");
  viewer_->SetSize(40, 50, 640, 480);
  test::RunEventsFor(700ms);  // the first load has ended
  const wxRect rect = viewer_->GetScreenRect();
  viewer_->Close();
  viewer_ = nullptr;
  test::RunEventsFor(100ms);
  const store::SettingsStore settings(dir_.File("tarnwick.ini"));
  EXPECT_EQ(settings.ReadInt("Windows", "MessageLeft", -1), rect.x);
  EXPECT_EQ(settings.ReadInt("Windows", "MessageTop", -1), rect.y);
  EXPECT_EQ(settings.ReadInt("Windows", "MessageWidth", -1), 640);
  EXPECT_EQ(settings.ReadInt("Windows", "MessageHeight", -1), 480);
  EXPECT_EQ(settings.ReadInt("Windows", "MessageState", -1), 0);
}

// The File menu lists the host's mailboxes as the host holds them, and filing through one of its
// items puts a copy of the article into that mailbox and closes the viewer.
class ArticleViewerFileMenuTest : public test::HostFixture {
protected:
  void TearDown() override {
    if (viewer_ != nullptr) viewer_->Destroy();
    EXPECT_TRUE(test::RunEventsUntil([this] { return viewer_ == nullptr; }, 5s)) << "the viewer is gone";
    HostFixture::TearDown();
  }

  test::TempDir settings_;
  wxWeakRef<ArticleViewer> viewer_;
};

std::string MenuOutline(const wxMenu& menu) {
  std::string text;
  for (const wxMenuItem* item : menu.GetMenuItems()) {
    text += item->GetItemLabelText().utf8_string();
    if (item->GetSubMenu() != nullptr) text += "[" + MenuOutline(*item->GetSubMenu()) + "]";
    text += " ";
  }
  return text;
}

TEST_F(ArticleViewerFileMenuTest, ListsTheHostsMailboxesAndFilesACopyIntoTheOneChosen) {
  CreateNews();
  Create(0, "Pending", true);
  ViewerContext context;
  context.settingsPath = settings_.File("tarnwick.ini");
  context.hostDataFolder = data_.Path();
  context.inMailboxPath = data_.File("In.mbx");
  context.outMailboxPath = data_.File("Out.mbx");
  viewer_ = ArticleViewer::Open(context, Headers(""), "<p>stored</p>");

  wxMenuBar* bar = viewer_->GetMenuBar();
  const wxMenu* file = bar->GetMenu(bar->FindMenu("File"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(MenuOutline(*file), "In News[Tech World ] ") << "as the host lists them; Out, Trash and Pending never";
  EXPECT_TRUE(messageBoxes_.empty());

  const int32_t world = core_->Store().FindMailbox("World");
  wxCommandEvent event(wxEVT_MENU, bar->FindMenuItem("File", "World"));
  ASSERT_EQ(event.GetId(), world) << "a mailbox's command is its host id";
  viewer_->ProcessWindowEvent(event);
  EXPECT_TRUE(test::RunEventsUntil([this] { return viewer_ == nullptr; }, 10s)) << "filing closes the viewer";
  std::vector<host::MessageInfo> messages;
  ASSERT_TRUE(core_->Store().ListMessages(world, messages).ok);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].summary.subject, "Big news");
}

}  // namespace
}  // namespace tarnwick::ui
