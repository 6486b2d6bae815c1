// What a check tells the host, the Newsboard and the window while it gets articles into a newsbox,
// and what it does when the host does not move them or a full article cannot be had.
#include "check_fixture.h"
#include "platform/file_system.h"

#include "platform/message_box.h"
#include "store/file_utilities.h"

#include <gmock/gmock.h>

namespace tarnwick::check::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Item(const std::string& guid, const std::string& title, const std::string& link, int day) {
  return "<item><title>" + title + "</title><author>Ada</author><link>" + link + "</link><guid>" + guid +
         "</guid><pubDate>" + std::to_string(day) + " Jun 2003 10:00:00 GMT</pubDate><description>Body of " + title +
         "</description></item>";
}

std::string Rss(const std::string& items) {
  return "<rss><channel><title>C</title>" + items + "</channel></rss>";
}

// A text as UTF-16 little-endian with its byte-order mark (the text is ASCII or two-byte UTF-8).
std::string Utf16Page(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The message boxes shown while it lives.
class RecordedMessageBoxes {
public:
  RecordedMessageBoxes()
      : previous_(platform::SetMessageBoxHandler(
            [this](const std::string& text, const std::string&) { texts.push_back(text); })) {}
  ~RecordedMessageBoxes() { platform::SetMessageBoxHandler(std::move(previous_)); }
  std::vector<std::string> texts;

private:
  platform::MessageBoxHandler previous_;
};

// The message whose subject is `title`; empty when there is none.
std::string MessageTitled(const std::vector<std::string>& messages, const std::string& title) {
  for (const std::string& message : messages) {
    if (message.find("Subject: " + title + "\r\n") != std::string::npos) return message;
  }
  return {};
}

constexpr char kBeginFullArticle[] = "--- Begin Full Article ---";

using DeliveryTest = CheckFixture;

TEST_F(DeliveryTest, AnEmptyPendingAndItsTableAreLeftAsTheyAreForTheNextFeed) {
  auto feed = AddFeed("tech", Rss(Item("a", "First", "http://example.org/a", 10)), "Tech");
  ASSERT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  ASSERT_TRUE(store::FileExists(dataFolder + "/Pending.toc"));
  // Deleting the table again would make the host write a new one for every feed.
  bool tocThereWhileChecking = false;
  view.onGeneralStatus = [&](const std::string& text) {
    if (text == "Checking tech Feed for new articles...")
      tocThereWhileChecking = store::FileExists(dataFolder + "/Pending.toc");
  };
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 0);
  EXPECT_TRUE(tocThereWhileChecking);
  EXPECT_TRUE(Messages("Pending").empty());
}

TEST_F(DeliveryTest, EachMovedArticleIsAnnouncedWithItsPlaceInTheNewsboxAndTheWindowsFollow) {
  auto feed = AddFeed(
      "tech", Rss(Item("a", "First", "http://example.org/a", 10) + Item("b", "Second", "http://example.org/b", 11)),
      "Tech");
  // A table of contents left from an earlier check goes with the emptying of "Pending".
  CreateMailbox("Pending");
  tarnwick::test::WriteFileBytes(dataFolder + "/Pending.toc", "stale");
  bool tocThereWhileChecking = true;
  view.onGeneralStatus = [&](const std::string& text) {
    if (text == "Checking tech Feed for new articles...")
      tocThereWhileChecking = store::FileExists(dataFolder + "/Pending.toc");
  };
  std::vector<std::string> hostStatusWhileAnnouncing;
  receiver.onNotice = [&](const mailbox::NewArticleNotice&) {
    hostStatusWhileAnnouncing.push_back(core->Windows()->StatusText());
  };

  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 2);
  EXPECT_FALSE(tocThereWhileChecking);

  // Each notice names the message as it now lies in the newsbox.
  const int32_t newsboxId = core->Store().FindMailbox("Tech");
  std::vector<host::MessageInfo> inNewsbox;
  ASSERT_TRUE(core->Store().ListMessages(newsboxId, inNewsbox).ok);
  ASSERT_EQ(inNewsbox.size(), 2u);
  ASSERT_EQ(receiver.notices.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(receiver.notices[i].messageId, static_cast<int32_t>(inNewsbox[i].id));
    EXPECT_EQ(receiver.notices[i].newsboxId, newsboxId);
    EXPECT_EQ(receiver.notices[i].newsboxPath, dataFolder + "/Tech.mbx");
    EXPECT_EQ(receiver.notices[i].newsboxName, "Tech");
  }
  EXPECT_THAT(receiver.notices[0].headerBlock, HasSubstr("Subject: Second\r\n"));
  EXPECT_EQ(hostStatusWhileAnnouncing, (std::vector<std::string>(2, "Downloading new articles...")));
  EXPECT_EQ(core->Windows()->StatusText(), "So far, you've got 2 new articles.");

  EXPECT_THAT(view.details, Contains("First by Ada"));
  EXPECT_THAT(view.details, Contains("Second by Ada"));
  EXPECT_EQ(view.details.back(), "");
  // "Pending" was shown and closed again before the move, the window took the focus back, and the
  // newsbox is open.
  EXPECT_EQ(WindowTitles(), (std::vector<std::string>{"Tech"}));
  EXPECT_EQ(view.focused, 1);
}

TEST_F(DeliveryTest, ArticlesTheHostDoesNotMoveAreNeitherAnnouncedNorCountedAndComeAgain) {
  // The newsbox setting names a folder of mailboxes, which takes no messages.
  ASSERT_TRUE(core->Store().Create(0, "Archive", false, nullptr, nullptr).ok);
  auto feed = AddFeed("arch",
                      Rss(Item("1", "one", "http://example.org/1", 1) + Item("2", "two", "http://example.org/2", 2) +
                          Item("3", "three", "http://example.org/3", 3)),
                      "");
  feed.newsbox = "Archive";
  feed.newsboxPath = dataFolder + "/Archive.fol";

  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 0);
  EXPECT_TRUE(receiver.notices.empty());
  EXPECT_EQ(writer.NewArticleCount(), 0);
  EXPECT_EQ(checker.LeftInPending(), 3);
  EXPECT_EQ(Messages("Pending").size(), 3u);
  EXPECT_THAT(checker.LastProblem(), HasSubstr("\"Pending\""));
  EXPECT_EQ(LastArticle("arch"), "") << "the next check must admit them again";
  EXPECT_EQ(core->Windows()->StatusText(), "So far, you've got 0 new articles.");

  const RunReport& report = run.RunSelectedFeeds({feed});
  EXPECT_EQ(report.newArticles, 0);
  EXPECT_EQ(report.leftInPending, 3);
  ASSERT_EQ(report.feeds.size(), 1u);
  EXPECT_EQ(report.feeds[0].leftInPending, 3);
  EXPECT_EQ(core->Windows()->StatusText(), "Tarnwick. Ready. Total number of new articles: 0. Have a nice day.");
  EXPECT_EQ(view.newsboardForward, 0);
}

TEST_F(DeliveryTest, TheNewsboxWithTheExactPathWinsOverOneThatDiffersInCase) {
  if (!tarnwick::test::NamesDifferingInCaseAreDistinct(dir)) GTEST_SKIP() << "this file system ignores letter case";
  CreateMailbox("News");
  auto feed = AddFeed("lower", Rss(Item("x", "Exact", "http://example.org/x", 1)), "news");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  EXPECT_EQ(Messages("news").size(), 1u);
  EXPECT_EQ(Messages("News").size(), 0u);
}

TEST_F(DeliveryTest, FullArticlesAreFetchedAfreshAndAStalePageIsNeverInserted) {
  RecordedMessageBoxes boxes;
  server.AddEndpoint("/page.html", 200, "<p>Whole story</p>");
  server.AddEndpoint("/gone.html", 404, "Not Found");
  server.AddEndpoint("/wide.html", 200, Utf16Page(u"<p>Gr\u00FC\u00DFe</p>"));
  server.AddEndpoint("/binary.html", 200, std::string(100, '\0') + "tail");
  server.AddEndpoint("/latin.html", 200, "<p>Caf\xE9</p>", {{"Content-Type", "text/html; charset=ISO-8859-1"}});
  auto feed =
      AddFeed("full",
              Rss(Item("g", "Gone", server.Url("/gone.html"), 1) + Item("p", "Page", server.Url("/page.html"), 2) +
                  Item("w", "Wide", server.Url("/wide.html"), 3) + Item("b", "Binary", server.Url("/binary.html"), 4) +
                  Item("l", "Latin", server.Url("/latin.html"), 5)),
              "Full");
  feed.downloadReferringArticles = 1;
  tarnwick::test::WriteFileBytes(plugins + "/article.html", "A PAGE OF AN EARLIER ARTICLE");

  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 5);
  auto messages = Messages("Full");
  EXPECT_THAT(MessageTitled(messages, "Gone"), Not(HasSubstr(kBeginFullArticle)));
  EXPECT_THAT(MessageTitled(messages, "Gone"), Not(HasSubstr("EARLIER ARTICLE")));
  EXPECT_THAT(
      MessageTitled(messages, "Page"),
      HasSubstr("<x-html>Body of Page\r\n<br><p align=\"center\">--- Begin Full Article ---</p>\r\n<br>"
                "<p>Whole story</p>\r\n<br><p align=\"center\">---- End Full Article ----</p>\r\n<br></x-html>"));
  EXPECT_THAT(MessageTitled(messages, "Wide"), HasSubstr("<br><p>Gr\xC3\xBC\xC3\x9F"
                                                         "e</p>\r\n"));
  EXPECT_THAT(MessageTitled(messages, "Binary"), Not(HasSubstr(kBeginFullArticle)));
  EXPECT_THAT(MessageTitled(messages, "Latin"), HasSubstr("<p>Caf\xC3\xA9</p>")) << "the server's character set";
  EXPECT_FALSE(store::FileExists(plugins + "/article.html"));
  // The failed fetch says why; the page that is no text is reported by the writer.
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_THAT(boxes.texts[1], HasSubstr("cannot be read as text: " + server.Url("/binary.html")));
}

TEST_F(DeliveryTest, APageFileThatCannotBeDeletedLeavesFullArticlesOutAndIsReportedOnce) {
  RecordedMessageBoxes boxes;
  server.AddEndpoint("/page.html", 200, "<p>Whole story</p>");
  auto feed = AddFeed(
      "stuck", Rss(Item("1", "one", server.Url("/page.html"), 1) + Item("2", "two", server.Url("/page.html"), 2)),
      "Stuck");
  feed.downloadReferringArticles = 1;
  // A folder that is not empty stands where the page file goes.
  platform::MakeFolder(plugins + "/article.html");
  tarnwick::test::WriteFileBytes(plugins + "/article.html/inside", "x");

  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 2);
  for (const std::string& message : Messages("Stuck")) EXPECT_THAT(message, Not(HasSubstr(kBeginFullArticle)));
  EXPECT_EQ(server.HitCount("/page.html"), 0);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_THAT(boxes.texts[0], HasSubstr("cannot be deleted: " + plugins + "/article.html"));
}

}  // namespace
}  // namespace tarnwick::check::test
