// The Newsboard on a real display, with the real host in this process.
#include "ui/newsboard_window.h"

#include "core/host_core.h"
#include "core/host_registry.h"
#include "gui_support/gui_test_support.h"
#include "store/settings_store.h"
#include "support/temp_dir.h"
#include "ui/article_viewer.h"
#include "ui/desktop_launcher.h"
#include "ui/newsboard_texts.h"

#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/timer.h>
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
  // Whether the list's row area (the list draws its rows in a window of its own) has a cursor of its own.
  bool RowAreaHasCursor() {
    for (wxWindow* part : board_->List().GetChildren()) {
      if (part->GetCursor().IsOk()) return true;
    }
    return false;
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

mailbox::NewArticleNotice DownloadedAt(const std::string& subject, const std::string& time) {
  mailbox::NewArticleNotice notice = Notice(subject, "Tue, 10 Jun 2003 05:00:00", "Tech");
  const size_t at = notice.headerBlock.find("Downloaded: ");
  notice.headerBlock.replace(at, notice.headerBlock.find("\r\n", at) - at, "Downloaded: Mon, 7 Dec 2026 " + time);
  return notice;
}

TEST_F(NewsboardWindowTest, FirstEverColumnsFitTheWindowWithTheHeadlineWidestAndStoredWidthsWin) {
  Announce(Notice("first", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  test::RunEventsFor(200ms);
  wxListCtrl& list = board_->List();
  int total = 0;
  for (int column = 0; column < kNewsboardColumnCount; ++column) {
    total += list.GetColumnWidth(column);
    if (column != kHeadlineColumn) EXPECT_GT(list.GetColumnWidth(kHeadlineColumn), list.GetColumnWidth(column));
  }
  EXPECT_LE(total, list.GetClientSize().x) << "no column runs past the window";
  EXPECT_GE(total, list.GetClientSize().x - 2 * wxSystemSettings::GetMetric(wxSYS_VSCROLL_X))
      << "and the columns fill it, but for room for a scroll bar";
  test::SaveScreenshot(board_, "newsboard_first_columns");

  board_->Close();  // stores the widths
  board_->Destroy();
  store::SettingsStore(context_.settingsPath).WriteInt("Columns", "Author", 33);
  board_ = new NewsboardWindow(context_);
  Announce(Notice("second", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  test::RunEventsFor(200ms);
  EXPECT_EQ(board_->List().GetColumnWidth(kAuthorColumn), 33) << "a stored width wins";
}

TEST_F(NewsboardWindowTest, RowsOfOneDownloadDayKeepTheirArrivalOrder) {
  std::vector<std::string> arrived;
  for (int row = 0; row < 40; ++row) {
    // Headlines and times in an order of their own, so that no other order can pass for arrival.
    const std::string headline = "row " + std::to_string((row * 17) % 40);
    Announce(DownloadedAt(headline, std::to_string(10 + (row * 7) % 13) + ":00:00"));
    arrived.push_back(headline);
  }
  ClickColumn(kDownloadedColumn);
  EXPECT_EQ(Headlines(), arrived);
  ClickColumn(kDownloadedColumn);
  EXPECT_EQ(Headlines(), arrived) << "descending too: equal rows are not reversed";
}

TEST_F(NewsboardWindowTest, ARightClickBelowTheRowsOpensTheMenuWhenRowsAreSelected) {
  Announce(Notice("a", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  Announce(Notice("b", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  test::RunEventsFor(200ms);
  EXPECT_TRUE(RowAreaHasCursor()) << "the list with rows has the newspaper cursor";
  Select({1});
  // The menu's Remove, picked by its mnemonic once the menu is up.
  class Pick : public wxTimer {
  public:
    void Notify() override { wxUIActionSimulator().Char('r'); }
  } pick;
  pick.StartOnce(500);
  const wxSize size = board_->List().GetClientSize();
  wxUIActionSimulator input;
  input.MouseMove(board_->List().ClientToScreen(wxPoint(size.x / 2, size.y - 10)));
  test::RunEventsFor(50ms);
  input.MouseClick(wxMOUSE_BTN_RIGHT);
  test::RunEventsFor(800ms);
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"a"}));

  Select({0});
  board_->RunCommand(kNewsboardRemove);
  EXPECT_FALSE(RowAreaHasCursor()) << "an empty list has the window's own arrow";
}

TEST_F(NewsboardWindowTest, F1OpensTheNewsboardsHelpPage) {
  context_.helpPath = dir_.Path();
  test::WriteFileBytes(dir_.File(kNewsboardHelpTopic), "<p>help</p>");
  board_->Destroy();
  board_ = new NewsboardWindow(context_);
  Announce(Notice("a", "Tue, 10 Jun 2003 05:00:00", "Tech"));
  board_->List().SetFocus();
  test::RunEventsFor(100ms);
  wxUIActionSimulator().Char(WXK_F1);
  test::RunEventsFor(200ms);
  EXPECT_EQ(opened_, std::vector<std::string>{dir_.File(kNewsboardHelpTopic)});
}

}  // namespace
}  // namespace tarnwick::ui
