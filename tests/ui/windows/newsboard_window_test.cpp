// The Newsboard on a real display, with the real host in this process.
#include "ui/newsboard_window.h"

#include "core/host_core.h"
#include "core/host_registry.h"
#include "gui_support/gui_test_support.h"
#include "store/settings_store.h"
#include "support/temp_dir.h"
#include "ui/article_viewer.h"
#include "ui/desktop_launcher.h"

#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

namespace tarnwick::ui {
namespace {

using namespace std::chrono_literals;

mailbox::NewArticleNotice Notice(const std::string& subject, const std::string& date, const std::string& newsbox) {
  const std::string headers = "Subject: " + subject + "\r\nFrom: Ann\r\nDate: " + date +
                              "\r\nFeed: Daily\r\nWebsite: http://example.test/" + subject +
                              "\r\nDownloaded: Mon, 7 Dec 2026 09:00:00\r\n\r\n";
  return {headers, "<p>" + subject + "</p>", 1, newsbox, "", 0};
}

class NewsboardWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::WriteFileBytes(dir_.File("Tech.mbx"), "");
    std::string errorText;
    core_ = host::HostCore::Open(dir_.Path(), {}, errorText);
    ASSERT_TRUE(core_) << errorText;
    host::PublishHost(core_);
    context_.settingsPath = dir_.File("tarnwick.ini");
    context_.hostDataFolder = dir_.Path();
    board_ = new NewsboardWindow(context_);
    previousOpener_ = SetDesktopOpener([this](const std::string& target) {
      opened_.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    SetDesktopOpener(previousOpener_);
    for (wxWindow* window : wxTopLevelWindows) window->Destroy();
    test::RunEventsUntil([] { return wxTopLevelWindows.empty(); }, 5s);
    host::WithdrawHost(core_.get());
  }
  void Announce(const mailbox::NewArticleNotice& notice) { NotifyNewArticle(*board_, notice); }
  std::string Headline(long item) { return board_->List().GetItemText(item, kHeadlineColumn).utf8_string(); }
  std::vector<std::string> Headlines() {
    std::vector<std::string> headlines;
    for (long item = 0; item < board_->List().GetItemCount(); ++item) headlines.push_back(Headline(item));
    return headlines;
  }
  void Select(std::initializer_list<long> items) {
    for (long item : items) board_->List().SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  void ClickColumn(int column) {
    wxListEvent event(wxEVT_LIST_COL_CLICK, kNewsboardListId);
    event.SetEventObject(&board_->List());
    event.m_col = column;
    board_->List().GetEventHandler()->ProcessEvent(event);
  }
  int ViewerCount() const {
    int viewers = 0;
    for (wxWindow* window : wxTopLevelWindows) viewers += dynamic_cast<ArticleViewer*>(window) != nullptr;
    return viewers;
  }

  test::TempDir dir_;
  std::shared_ptr<host::HostCore> core_;
  ViewerContext context_;
  NewsboardWindow* board_ = nullptr;
  DesktopOpener previousOpener_;
  std::vector<std::string> opened_;
};

TEST_F(NewsboardWindowTest, ArticlesShowTheBoardAndSortByEachColumnsRule) {
  EXPECT_FALSE(board_->IsShown()) << "made hidden";
  Announce(Notice("beta", "Tue, 10 Jun 2003 05:00:00 GMT", "Tech"));
  EXPECT_TRUE(board_->IsShown());
  Announce(Notice("Alpha", "Tue, 10 Jun 2003 06:00:00 GMT", "Tech"));
  Announce(Notice("gamma", "Tue, 10 Jun 2003 04:00:00 GMT", "Tech"));
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"Alpha", "beta", "gamma"})) << "by headline, case ignored";
  EXPECT_EQ(board_->List().GetItemText(0, kPublishedColumn).utf8_string(), "6/10/2003 06:00:00");
  EXPECT_EQ(board_->List().GetItemText(0, kDownloadedColumn).utf8_string(), "12/07/2026 09:00:00");
  EXPECT_EQ(board_->List().GetItemText(0, kNewsboxColumn).utf8_string(), "Tech");

  ClickColumn(kPublishedColumn);
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"gamma", "beta", "Alpha"})) << "oldest first";
  ClickColumn(kPublishedColumn);
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"Alpha", "beta", "gamma"})) << "newest first";
  ClickColumn(kPublishedColumn);
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"gamma", "beta", "Alpha"})) << "the third click restores";
  test::SaveScreenshot(board_, "newsboard");
}

TEST_F(NewsboardWindowTest, CommandsActOnEverySelectedRow) {
  Announce(Notice("a", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  Announce(Notice("b", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  Announce(Notice("c", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  Announce(Notice("d", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  EXPECT_FALSE(board_->GetToolBar()->GetToolEnabled(kNewsboardOpen)) << "nothing selected";
  Select({0, 2, 3});
  test::RunEventsFor(50ms);
  EXPECT_TRUE(board_->GetToolBar()->GetToolEnabled(kNewsboardOpen));

  board_->RunCommand(kNewsboardBrowse);
  EXPECT_EQ(opened_,
            (std::vector<std::string>{"http://example.test/a", "http://example.test/c", "http://example.test/d"}));
  board_->RunCommand(kNewsboardOpen);
  EXPECT_EQ(ViewerCount(), 3);
  EXPECT_TRUE(board_->Rows().Find(static_cast<int64_t>(board_->List().GetItemData(2)))->opened);
  EXPECT_FALSE(board_->Rows().Find(static_cast<int64_t>(board_->List().GetItemData(1)))->opened);

  board_->RunCommand(kNewsboardRemove);
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"b"}));
  EXPECT_EQ(board_->Rows().Count(), 1u);
}

TEST_F(NewsboardWindowTest, OpenTheNewsboxAsksTheHostToOpenIt) {
  mailbox::NewArticleNotice notice = Notice("a", "Tue, 10 Jun 2003 05:00:00", "Tech");
  notice.newsboxPath = dir_.File("Tech.mbx");
  Announce(notice);
  Select({0});
  board_->RunCommand(kNewsboardOpenNewsbox);
  ASSERT_FALSE(core_->Windows()->MailboxWindows().empty());
  EXPECT_EQ(core_->Windows()->MailboxWindows().front().title, "Tech");
}

TEST_F(NewsboardWindowTest, CloseHidesAndStoresAndALaterArticleBringsItBackWithItsRows) {
  Announce(Notice("first", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  board_->SetSize(60, 70, 520, 300);
  board_->List().SetColumnWidth(kPublishedColumn, 150);
  ClickColumn(kPublishedColumn);
  test::RunEventsFor(100ms);
  const wxRect rect = board_->GetScreenRect();

  board_->SetFocus();
  wxUIActionSimulator().Char(WXK_ESCAPE);
  test::RunEventsFor(100ms);
  EXPECT_TRUE(board_->IsShown()) << "Escape does not close the Newsboard";

  board_->Close();
  EXPECT_FALSE(board_->IsShown());
  const store::SettingsStore settings(context_.settingsPath);
  EXPECT_EQ(settings.ReadInt("Columns", "Published", 0), 150);
  EXPECT_EQ(settings.ReadInt("Columns", "SortKey", -1), kPublishedColumn);
  EXPECT_EQ(settings.ReadInt("Windows", "NewsboardLeft", -1), rect.x);
  EXPECT_EQ(settings.ReadInt("Windows", "NewsboardWidth", -1), 520);
  EXPECT_EQ(settings.ReadInt("Windows", "NewsboardState", -1), 0);

  Announce(Notice("second", "Tue, 10 Jun 2003 06:00:00", "Tech"));
  EXPECT_TRUE(board_->IsShown());
  EXPECT_EQ(board_->GetScreenRect(), rect) << "back where it was";
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"first", "second"}));
}

}  // namespace
}  // namespace tarnwick::ui
