// The article viewer's model, and its forwarding and saving against the real host in this process.
#include "ui/article_viewer_model.h"
#include "ui/article_actions.h"

#include "automation/host_message.h"
#include "core/host_core.h"
#include "core/host_registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

const char kHeaders[] =
    "Subject: Big news\r\nFrom: Ann\r\nDate: Tue, 10 Jun 2003 04:00:00\r\nFeed: Daily\r\n"
    "Website: http://x.test/a\r\n\r\n";

TEST(ArticleViewerModel, TitleAndContentFollowTheViewMode) {
  ArticleViewerModel article(kHeaders, "<p>stored\r\nbody</p>");
  EXPECT_EQ(article.Title(), "Daily, Tue, 10 Jun 2003 04:00:00, Big news");
  EXPECT_EQ(article.Website(), "http://x.test/a");
  EXPECT_EQ(article.Mode(), ViewMode::kFullArticle);
  EXPECT_EQ(article.CurrentContent(), "") << "nothing captured before the first load";

  article.PageLoaded("<h1>page</h1>");
  EXPECT_EQ(article.ArticleText(), std::string(kHeaders) + "<h1>page</h1>");

  EXPECT_TRUE(article.ToggleSource());
  article.ChooseMode(ViewMode::kNewsboxArticle);
  EXPECT_FALSE(article.ShowingSource()) << "a view mode turns the source view off";
  article.PageLoaded("about:blank's body");
  EXPECT_EQ(article.CurrentContent(), "<p>stored\r\nbody</p>") << "loads in the stored mode capture nothing";

  article.ChooseMode(ViewMode::kFullArticle);
  EXPECT_EQ(article.CurrentContent(), "<h1>page</h1>");
  EXPECT_EQ(ArticleViewerModel("Subject: x\r\n\r\n", "").Title(), ", , x") << "missing fields stay empty";
}

TEST(ArticleViewerModel, OnlyAnHttpOrHttpsLinkIsLoadedAsThePage) {
  const struct {
    const char* link;
    const char* loaded;
  } cases[] = {
      {"http://x.test/a", "http://x.test/a"},
      {"HTTPS://x.test/a?b=1", "HTTPS://x.test/a?b=1"},
      {"file:///etc/passwd", ""},
      {"FILE:///home/ann/.ssh/id_rsa", ""},
      {"/etc/passwd", ""},
      {"javascript:alert(1)", ""},
      {"data:text/html,<p>x</p>", ""},
      {"ftp://x.test/a", ""},
      {"http://", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    const ArticleViewerModel article(std::string("Subject: x\r\nWebsite: ") + c.link + "\r\n\r\n", "");
    EXPECT_EQ(article.PageAddress(), c.loaded) << c.link;
  }
}

class ArticleActionsTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string errorText;
    core_ = host::HostCore::Open(dir_.Path(), {}, errorText);
    ASSERT_TRUE(core_) << errorText;
    host::PublishHost(core_);
  }
  void TearDown() override {
    if (core_) host::WithdrawHost(core_.get());
  }
  automation::HostCollection Out() const { return host_.Connect().application.MailboxById(3).Messages(); }

  test::TempDir dir_;
  std::shared_ptr<host::HostCore> core_;
  automation::HostAutomation host_{[](int) {}};
};

TEST_F(ArticleActionsTest, ForwardInlineWrapsTheArticleInItsMarkerLines) {
  ArticleViewerModel article(kHeaders, "<p>x</p>");
  article.ChooseMode(ViewMode::kNewsboxArticle);
  ASSERT_TRUE(ForwardInline(host_, article));
  automation::HostCollection out = Out();
  ASSERT_EQ(out.Count(), 1);
  automation::HostMessage message(out.Item(1));
  EXPECT_EQ(message.Title(), "Big news (fwd)");
  EXPECT_EQ(message.Body(), "--- begin forwarded article\r\n\r\n" + std::string(kHeaders) +
                                "<p>x</p>\r\n\r\n--- end forwarded article");
}

TEST_F(ArticleActionsTest, ForwardAsAttachmentNumbersItsFilesAndDropsLineFeeds) {
  ArticleViewerModel article(kHeaders, "<p>a\r\nb</p>");
  article.ChooseMode(ViewMode::kNewsboxArticle);
  const std::string first = ForwardAsAttachment(host_, article, dir_.Path());
  const std::string second = ForwardAsAttachment(host_, article, dir_.Path());
  EXPECT_EQ(first, dir_.Path() + "/Forwarded Articles/Big news.nws");
  EXPECT_EQ(second, dir_.Path() + "/Forwarded Articles/Big news1.nws");
  std::string expected = std::string(kHeaders) + "<p>a\r\nb</p>";
  std::erase(expected, '\n');
  EXPECT_EQ(test::ReadFileBytes(first), expected + "\n");
  automation::HostCollection out = Out();
  ASSERT_EQ(out.Count(), 2);
  EXPECT_EQ(automation::HostMessage(out.Item(1)).Body(), "Forwarded article attached.");

  host::WithdrawHost(core_.get());
  EXPECT_EQ(ForwardAsAttachment(host_, article, dir_.Path()), "") << "no host, no file";
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "/Forwarded Articles/Big news12.nws"));
  EXPECT_FALSE(ForwardInline(host_, article));
}

TEST_F(ArticleActionsTest, SaveAsReplacesTheFileWithTheArticleTextInCrLfLines) {
  ArticleViewerModel article(kHeaders, "<p>a\r\nb\nc\rd\r\n\r\ne</p>");
  article.ChooseMode(ViewMode::kNewsboxArticle);
  const std::string path = dir_.File("saved.eml");
  test::WriteFileBytes(path, "an older, longer file that must not show through");
  ASSERT_TRUE(SaveArticleAs(article, path));
  EXPECT_EQ(test::ReadFileBytes(path), std::string(kHeaders) + "<p>a\r\nb\r\nc\r\nd\r\n\r\ne</p>\r\n")
      << "every line ends in CR LF, whatever ended it in the article";
  EXPECT_EQ(SaveAsFileName(article), "Big news.nws");
  EXPECT_EQ(SaveAsFileName(ArticleViewerModel("Subject: a/b: c?\r\n\r\n", "")), "ab c.nws")
      << "the headline made fit for a file name";
}

TEST_F(ArticleActionsTest, FileInMovesTheStagedMessageIntoTheChosenMailbox) {
  const platform::ManualClock clock(platform::DateTime::FromParts(2026, 12, 7, 9, 30, 0));
  int focused = 0;
  const FileInContext context{dir_.Path(), &clock, [](int) {}, [&focused] { ++focused; }};
  ArticleViewerModel article(kHeaders, "<p>a\r\nFrom ???@??? Mon Jan 1 00:00:00 2001\r\nb</p>");
  article.ChooseMode(ViewMode::kNewsboxArticle);

  ASSERT_EQ(FileArticleIn(host_, article, kFileInInCommand, context), FileInResult::kFiled);
  automation::HostCollection in = host_.Connect().application.MailboxById(kInMailboxId).Messages();
  ASSERT_EQ(in.Count(), 1);
  automation::HostMessage filed(in.Item(1));
  EXPECT_EQ(filed.Title(), "Big news");
  EXPECT_EQ(filed.Body(), "<p>a\r\nFrom ???@??? Mon Jan 1 00:00:00 2001\r\nb</p>")
      << "a line like a separator stays in the message";
  EXPECT_EQ(host_.Connect().application.MailboxByName(kFilingMailboxName).Messages().Count(), 0);
  EXPECT_EQ(focused, 2) << "the viewer comes back after each look of the host at its staging mailbox";

  EXPECT_EQ(FileArticleIn(host_, article, 999, context), FileInResult::kStayedInPending) << "no mailbox 999";
  EXPECT_EQ(host_.Connect().application.MailboxByName(kFilingMailboxName).Messages().Count(), 1);
  EXPECT_EQ(FileArticleIn(host_, article, 1001, context), FileInResult::kNoSuchCommand);
  EXPECT_EQ(FileArticleIn(host_, article, 2, context), FileInResult::kNoSuchCommand) << "2 is Close";
}

}  // namespace
}  // namespace tarnwick::ui
