// The article viewer on the real web engine, against pages served on 127.0.0.1.
#include "ui/article_viewer.h"
#include "ui/article_viewer_ids.h"

#include "gui_support/close_request.h"
#include "gui_support/gui_test_support.h"
#include "gui_support/page_rendering.h"
#include "host_fixture.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"
#include "ui/article_actions.h"
#include "ui/desktop_launcher.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
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
  // The test's own scripts wait for the engine in a loop of their own: they start once the viewer
  // has shown the stored body, so that they never wait inside the viewer's script (or it in theirs).
  void WaitForTheStoredBody() {
    test::RunEventsFor(std::chrono::milliseconds(1500));
    ASSERT_TRUE(
        test::RunEventsUntil([&] { return Script("document.getElementById('stored') ? 'yes' : 'no'") == "yes"; }, 20s));
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
  if (!test::WebPagesRender()) GTEST_SKIP() << test::kNoPageRendering;
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

TEST_F(ArticleViewerTest, TheSourceOfTheStoredBodyNeedsNoRenderedPage) {
  const std::string body = "<p>stored <b>text</b></p>\n<p>second paragraph</p>";
  Open("", body);
  Command(kNewsboxArticleCommand);
  Command(kSourceCommand);
  EXPECT_TRUE(viewer_->SourcePane()->IsShown());
  EXPECT_FALSE(viewer_->WebView()->IsShown());
  EXPECT_EQ(viewer_->SourcePane()->GetValue().utf8_string(), body);
  test::SaveScreenshot(viewer_, "article-viewer-stored-source");
  Command(kSourceCommand);
  EXPECT_FALSE(viewer_->SourcePane()->IsShown()) << "the command switches back to the page";
  EXPECT_TRUE(viewer_->WebView()->IsShown());
}

TEST_F(ArticleViewerTest, ShowsTheStoredBodyWithoutRunningItsScripts) {
  if (!test::WebPagesRender()) GTEST_SKIP() << test::kNoPageRendering;
  const std::string body =
      "<p id='stored'>stored text</p><script>document.title='script ran'</script>"
      "<img src='nowhere.png' onerror=\"document.title='handler ran'\">";
  Open("", body);
  Command(kNewsboxArticleCommand);
  WaitForTheStoredBody();
  test::RunEventsFor(500ms);  // time for an image error handler, had it been allowed to run
  EXPECT_EQ(Script("document.getElementById('stored').textContent"), "stored text");
  EXPECT_EQ(Script("document.title"), "") << "neither the script nor the event handler ran";
  EXPECT_EQ(viewer_->Model().CurrentContent(), body);
  test::SaveScreenshot(viewer_, "article-viewer-newsbox");
}

TEST_F(ArticleViewerTest, TheStoredBodyFetchesNothingFromTheNetwork) {
  if (!test::WebPagesRender()) GTEST_SKIP() << test::kNoPageRendering;
  server_.AddEndpoint("/page", 200, "<html><body><img src='/seen.png'><p>page</p></body></html>",
                      {{"Content-Type", "text/html"}});
  const std::vector<std::string> remote = {"/pixel.png",  "/background.png", "/style.css",   "/frame.html",
                                           "/poster.png", "/set.png",        "/refresh.html"};
  for (const std::string& path : remote) server_.AddEndpoint(path, 200, "x");
  server_.AddEndpoint("/seen.png", 200, "x");
  const std::string body = "<p id='stored'>stored</p><img src='" + server_.Url("/pixel.png") + "'>" +
                           "<div style='background-image:url(" + server_.Url("/background.png") + ")'>styled</div>" +
                           "<link rel='stylesheet' href='" + server_.Url("/style.css") + "'>" + "<iframe src='" +
                           server_.Url("/frame.html") + "'></iframe>" + "<video poster='" + server_.Url("/poster.png") +
                           "'></video>" + "<img srcset='" + server_.Url("/set.png") + " 2x'>" +
                           "<meta http-equiv='refresh' content='0; url=" + server_.Url("/refresh.html") +
                           "'><img src='data:image/gif;base64,R0lGODlhAQABAAAAACw='>";
  Open(server_.Url("/page"), body);
  ASSERT_TRUE(test::RunEventsUntil([&] { return server_.HitCount("/seen.png") == 1; }, 20s))
      << "the web page's image loads: the engine does fetch from this server";

  Command(kNewsboxArticleCommand);
  WaitForTheStoredBody();
  test::RunEventsFor(1500ms);  // time for every fetch the body could cause
  for (const std::string& path : remote) EXPECT_EQ(server_.HitCount(path), 0) << path;
  EXPECT_EQ(Script("document.getElementById('stored').textContent"), "stored") << "the view stayed on the body";
}

TEST_F(ArticleViewerTest, PageDialogsAreAnsweredWithoutShowing) {
  if (!test::WebPagesRender()) GTEST_SKIP() << test::kNoPageRendering;
  server_.AddEndpoint("/page", 200,
                      "<html><body><script>alert('a');"
                      "document.body.textContent = 'confirm ' + confirm('b') + ', prompt ' + prompt('c', 'd');"
                      "</script></body></html>",
                      {{"Content-Type", "text/html"}});
  Open(server_.Url("/page"), "<p>stored</p>");
  EXPECT_TRUE(
      test::RunEventsUntil([&] { return viewer_->Model().CurrentContent() == "confirm false, prompt null"; }, 20s))
      << "no dialog waits for an answer: the page goes on at once";
}

TEST_F(ArticleViewerTest, ALinkToALocalFileIsNeverShown) {
  if (!test::WebPagesRender()) GTEST_SKIP() << test::kNoPageRendering;
  const std::string secret = dir_.File("secret.html");
  test::WriteFileBytes(secret, "<html><body><p>local secret</p></body></html>");
  for (const std::string& link : {"file://" + secret, "FILE://" + secret}) {
    Open(link, "<p>stored</p>");
    test::RunEventsFor(2500ms);  // time for the file to load, had it been allowed to
    EXPECT_EQ(viewer_->Model().CurrentContent().find("local secret"), std::string::npos)
        << link << ": nothing of the file can be forwarded, saved or filed";
    viewer_->Destroy();
    ASSERT_TRUE(test::RunEventsUntil([this] { return viewer_ == nullptr; }, 5s));
  }
}

TEST_F(ArticleViewerTest, ClosingWhileThePageFinishesLoadingIsSafe) {
  if (!test::WebPagesRender()) GTEST_SKIP() << test::kNoPageRendering;
  // The page keeps the engine busy after it has loaded, so the viewer's script waits in a nested
  // event loop while the close request arrives.
  server_.AddEndpoint("/busy", 200,
                      "<html><body onload='setTimeout(function() {"
                      " var end = Date.now() + 1500; while (Date.now() < end) {} }, 0)'>"
                      "<p>busy</p></body></html>",
                      {{"Content-Type", "text/html"}});
  Open(server_.Url("/busy"), "<p>stored</p>");
  const std::string title = viewer_->GetTitle().utf8_string();
  bool asked = false;
  // Bound after the viewer's own handler, so it runs first and the request is on its way while
  // the viewer's handler waits for the engine.
  viewer_->WebView()->Bind(wxEVT_WEBVIEW_LOADED, [&](wxWebViewEvent& event) {
    if (!asked) asked = test::RequestCloseByTitle(title) == 1;
    event.Skip();
  });
  EXPECT_TRUE(test::RunEventsUntil([this] { return viewer_ == nullptr; }, 20s)) << "the close was carried out";
  EXPECT_TRUE(asked);
  test::RunEventsFor(300ms);
}

TEST_F(ArticleViewerTest, F1OpensTheViewersHelpPage) {
  std::vector<std::string> opened;
  const DesktopOpener previous = SetDesktopOpener([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  test::WriteFileBytes(dir_.File(kViewerHelpTopic), "<p>help</p>");
  ViewerContext context;
  context.settingsPath = dir_.File("tarnwick.ini");
  context.helpPath = dir_.Path();
  viewer_ = ArticleViewer::Open(context, Headers(""), "<p>stored</p>");
  test::RunEventsFor(300ms);
  viewer_->Raise();
  wxUIActionSimulator().Char(WXK_F1);
  test::RunEventsFor(200ms);
  SetDesktopOpener(previous);
  EXPECT_EQ(opened, std::vector<std::string>{dir_.File(kViewerHelpTopic)});
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

TEST_F(ArticleViewerFileMenuTest, ForwardPutsTheMessageInOutAndSaysSo) {
  ViewerContext context;
  context.settingsPath = settings_.File("tarnwick.ini");
  context.hostDataFolder = data_.Path();
  viewer_ = ArticleViewer::Open(context, Headers(""), "<p>stored</p>");
  wxCommandEvent event(wxEVT_MENU, kForwardInlineCommand);
  viewer_->ProcessWindowEvent(event);
  std::vector<host::MessageInfo> messages;
  ASSERT_TRUE(core_->Store().ListMessages(core_->Store().FindMailbox("Out"), messages).ok);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].summary.subject, "Big news (fwd)");
  EXPECT_EQ(viewer_->GetStatusBar()->GetStatusText().utf8_string(), kForwardedStatusText);
}

TEST_F(ArticleViewerFileMenuTest, FilingLeavesWhatACheckRunHasStagedInPending) {
  CreateNews();
  Create(0, "Pending", true);
  // A check run has appended an article to "Pending" and lets the windows work before it has the
  // host move it on.
  const std::string staged =
      "From ???@??? Tue Dec 08 01:00:00 2026\r\nSubject: Staged by the run\r\n\r\n<x-html>run</x-html>\r\n";
  const std::string pendingFile = data_.File("Pending.mbx");
  test::WriteFileBytes(pendingFile, staged);
  ViewerContext context;
  context.settingsPath = settings_.File("tarnwick.ini");
  context.hostDataFolder = data_.Path();
  viewer_ = ArticleViewer::Open(context, Headers(""), "<p>stored</p>");

  const int32_t world = core_->Store().FindMailbox("World");
  wxCommandEvent event(wxEVT_MENU, world);
  viewer_->ProcessWindowEvent(event);
  EXPECT_TRUE(test::RunEventsUntil([this] { return viewer_ == nullptr; }, 10s)) << "filed";
  EXPECT_EQ(test::ReadFileBytes(pendingFile), staged) << "the run's staged article is still there to deliver";
  std::vector<host::MessageInfo> messages;
  ASSERT_TRUE(core_->Store().ListMessages(world, messages).ok);
  ASSERT_EQ(messages.size(), 1u) << "only the filed article";
  EXPECT_EQ(messages[0].summary.subject, "Big news");
  ASSERT_TRUE(core_->Store().ListMessages(core_->Store().FindMailbox(kFilingMailboxName), messages).ok);
  EXPECT_TRUE(messages.empty()) << "the filing mailbox was emptied into World";
}

}  // namespace
}  // namespace tarnwick::ui
