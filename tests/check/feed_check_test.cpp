#include "check_fixture.h"
#include "platform/file_system.h"
#include "support/scoped_time_zone.h"

#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <filesystem>

namespace tarnwick::check::test {
namespace {

std::string RssItem(const std::string& guid, const std::string& title, const std::string& date) {
  return "<item><title>" + title + "</title><link>http://example.org/" + guid + "</link><guid>" + guid +
         "</guid><pubDate>" + date + "</pubDate><description>Body of " + title + "</description></item>";
}

std::string Rss(const std::string& items) {
  return "<rss version=\"2.0\"><channel><title>C</title>" + items + "</channel></rss>";
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

using FeedCheckTest = CheckFixture;

TEST_F(FeedCheckTest, DeliversNewItemsAndAdvancesLastArticle) {
  auto feed = AddFeed("tech",
                      Rss(RssItem("a", "First", "Tue, 10 Jun 2003 04:00:00 GMT") +
                          RssItem("b", "Second", "Wed, 11 Jun 2003 05:00:00 GMT")),
                      "Tech");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 2);
  auto messages = Messages("Tech");
  ASSERT_EQ(messages.size(), 2u);
  // Moved last first: the second item arrives first.
  EXPECT_TRUE(Contains(messages[0], "Subject: Second\r\n"));
  EXPECT_TRUE(Contains(messages[1],
                       "Subject: First\r\nFrom: tech Feed\r\nDate: Tue, 10 Jun 2003 04:00:00 GMT\r\n"
                       "Website: http://example.org/a\r\nMessage-Id: <a@tarnwick.invalid>\r\n"
                       "Downloaded: Mon, 7 Dec 2026 07:03:15\r\nTarnwick-Plugin-Version: 1.0\r\nFeed: tech Feed\r\n"));
  EXPECT_TRUE(Contains(messages[1], "\r\n\r\n<x-html>Body of First</x-html>\r\n"));
  EXPECT_EQ(LastArticle("tech"), "06/11/2003 05:00:00");
  EXPECT_FALSE(store::FileExists(plugins + "/feed.xml"));
  EXPECT_EQ(receiver.notices.size(), 2u);
  EXPECT_EQ(receiver.notices[0].newsboxName, "Tech");
  EXPECT_TRUE(Contains(receiver.notices[0].headerBlock, "Subject: Second\r\n"));
  EXPECT_TRUE(checker.LastProblem().empty());

  // Nothing new the second time; one more item the third time.
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 0);
  Serve("tech", Rss(RssItem("a", "First", "Tue, 10 Jun 2003 04:00:00 GMT") +
                    RssItem("b", "Second", "Wed, 11 Jun 2003 05:00:00 GMT") +
                    RssItem("c", "Third", "Thu, 12 Jun 2003 06:00:00 GMT")));
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  EXPECT_EQ(Messages("Tech").size(), 3u);
}

TEST_F(FeedCheckTest, MovesLastFirstWithProgress) {
  auto feed = AddFeed(
      "p",
      Rss(RssItem("1", "one", "Tue, 10 Jun 2003 04:00:00 GMT") + RssItem("2", "two", "Tue, 10 Jun 2003 04:00:01 GMT") +
          RssItem("3", "three", "Tue, 10 Jun 2003 04:00:02 GMT")),
      "P");
  view.progress.clear();
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 3);
  EXPECT_EQ(view.progress, (std::vector<int>{0, 33, 66, 98, 100, 0}));
  ASSERT_EQ(receiver.notices.size(), 3u);
  EXPECT_TRUE(Contains(receiver.notices[0].headerBlock, "Subject: three"));
  EXPECT_TRUE(Contains(receiver.notices[2].headerBlock, "Subject: one"));
}

TEST_F(FeedCheckTest, AutomationOffKeepsArticlesForTheNextCheck) {
  auto feed = AddFeed("off", Rss(RssItem("x", "Kept", "Tue, 10 Jun 2003 04:00:00 GMT")), "Off");
  SetAutomation(false);
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 0);
  EXPECT_EQ(Messages("Off").size(), 0u);
  EXPECT_EQ(LastArticle("off"), "");
  EXPECT_FALSE(checker.LastProblem().empty());

  SetAutomation(true);
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  ASSERT_EQ(Messages("Off").size(), 1u);
  EXPECT_TRUE(Contains(Messages("Off")[0], "Subject: Kept\r\n"));
  EXPECT_EQ(LastArticle("off"), "06/10/2003 04:00:00");
}

// An Atom 1.0 entry without "issued" takes its "updated"; an entry with no date at all takes the
// download time, which does not move "LastArticle".
TEST_F(FeedCheckTest, AtomWithoutIssuedTakesUpdatedOrElseTheDownloadTime) {
  tarnwick::test::ScopedTimeZone utc("UTC0");
  auto feed = AddFeed("atom",
                      "<feed xmlns=\"http://www.w3.org/2005/Atom\"><id>urn:f</id><title>F</title>"
                      "<entry><id>urn:e1</id><title>E</title><updated>2003-12-13T18:30:02Z</updated>"
                      "<content type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\"><b>x</b></div></content>"
                      "</entry><entry><id>urn:e2</id><title>Undated</title></entry></feed>",
                      "Atom");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 2);
  auto messages = Messages("Atom");
  ASSERT_EQ(messages.size(), 2u);
  const std::string& dated = Contains(messages[0], "Subject: E\r\n") ? messages[0] : messages[1];
  const std::string& undated = Contains(messages[0], "Subject: E\r\n") ? messages[1] : messages[0];
  EXPECT_TRUE(Contains(dated, "Date: Sat, 13 Dec 2003 18:30:00 +0000\r\n"));
  EXPECT_TRUE(Contains(dated, "<x-html><div xmlns=\"http://www.w3.org/1999/xhtml\"><b>x</b></div></x-html>"));
  EXPECT_TRUE(Contains(undated, "Date: Mon, 7 Dec 2026 07:03:15\r\n"));
  EXPECT_EQ(LastArticle("atom"), "12/13/2003 18:30:00");
}

TEST_F(FeedCheckTest, SameGuidTwiceInOneDocumentArrivesTwiceAndItemsWithoutTitleOrTextNever) {
  auto feed = AddFeed("dup",
                      Rss(RssItem("same", "one", "Tue, 10 Jun 2003 04:00:00 GMT") +
                          RssItem("same", "two", "Tue, 10 Jun 2003 04:00:01 GMT") +
                          "<item><title>anonymous</title></item><item><guid>empty</guid></item>"),
                      "Dup");
  // The item without guid or link is known by its content; the one without title or text is not
  // an article.
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 3);
  EXPECT_EQ(checker.LastSkips()[static_cast<size_t>(feed::SkipReason::kNoTitleOrText)], 1);
}

TEST_F(FeedCheckTest, MissingNewsboxDeliversIntoIn) {
  auto feed = AddFeed("lost", Rss(RssItem("l", "Lost", "Tue, 10 Jun 2003 04:00:00 GMT")), "");
  feed.newsbox = "Gone";
  feed.newsboxPath = dataFolder + "/Gone.mbx";
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  ASSERT_EQ(Messages("In").size(), 1u);
  ASSERT_EQ(receiver.notices.size(), 1u);
  EXPECT_EQ(receiver.notices[0].newsboxName, "In");

  // Without a name the In mailbox still takes the articles.
  Serve("lost", Rss(RssItem("m", "Nameless", "Tue, 10 Jun 2003 05:00:00 GMT")));
  feed.newsbox.clear();
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  EXPECT_EQ(Messages("In").size(), 2u);
}

TEST_F(FeedCheckTest, IncompleteSettingsLeaveTheDocumentAlone) {
  auto feed = AddFeed("bad", Rss(""), "Bad");
  feed.name.clear();
  tarnwick::test::WriteFileBytes(plugins + "/feed.xml", "old");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), -1);
  EXPECT_TRUE(store::FileExists(plugins + "/feed.xml"));
  EXPECT_EQ(server.HitCount("/bad.xml"), 0);

  // A newsbox file that is there but has no name is no place to deliver to either.
  feed = AddFeed("unnamed", Rss(RssItem("u", "U", "Tue, 10 Jun 2003 04:00:00 GMT")), "Unnamed");
  feed.newsbox.clear();
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), -1);
  EXPECT_EQ(checker.LastProblem(), "it has no newsbox");
  EXPECT_TRUE(store::FileExists(plugins + "/feed.xml"));
  EXPECT_EQ(server.HitCount("/unnamed.xml"), 0);
}

TEST_F(FeedCheckTest, BrokenDocumentsFailWithAReasonAndAreDeleted) {
  auto feed = AddFeed("broken", "<rss><channel><item><title>cut", "Broken");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), -1);
  EXPECT_TRUE(Contains(checker.LastProblem(), "not well-formed"));
  EXPECT_FALSE(store::FileExists(plugins + "/feed.xml"));
  EXPECT_EQ(LastArticle("broken"), "");

  server.AddEndpoint("/broken.xml", 404, "Not here");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), -1);
  EXPECT_TRUE(Contains(checker.LastProblem(), "could not be downloaded"));
}

TEST_F(FeedCheckTest, CachedDocumentIsDeletedEvenWhenItDoesNotParse) {
  auto feed = AddFeed("cached", Rss(""), "Cached");
  std::string cache = dataFolder + "/Feeds";
  platform::MakeFolder(cache);
  tarnwick::test::WriteFileBytes(cache + "/cached.rss", "not xml at all");
  EXPECT_EQ(checker.CheckFeed(feed, true, cache + "/cached.rss"), -1);
  EXPECT_FALSE(store::FileExists(cache + "/cached.rss"));
  EXPECT_EQ(server.HitCount("/cached.xml"), 0);
}

TEST_F(FeedCheckTest, TitlesWithLineBreaksCannotForgeHeaders) {
  auto feed = AddFeed("evil",
                      Rss("<item><title>Hi&#13;&#10;Bcc: x@example.org</title><guid>e</guid>"
                          "<description>From ???@??? Mon Dec 7 07:03:15 2026&#10;From ok</description></item>"),
                      "Evil");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  auto messages = Messages("Evil");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Contains(messages[0], "Subject: Hi  Bcc: x@example.org\r\n"));
  EXPECT_FALSE(Contains(messages[0], "\r\nBcc:"));
}

}  // namespace
}  // namespace tarnwick::check::test

namespace tarnwick::check::test {
namespace {

using FeedCheckBadInput = CheckFixture;

TEST_F(FeedCheckBadInput, LargeFeedOfFiveThousandItemsIsDeliveredWhole) {
  std::string items;
  for (int i = 0; i < 5000; ++i) {
    std::string id = std::to_string(i);
    items += "<item><title>Item " + id + "</title><guid>big-" + id +
             "</guid><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>"
             "<description><![CDATA[" +
             std::string(3800, 'x') + "]]></description></item>";
  }
  std::string document = "<rss><channel>" + items + "</channel></rss>";
  ASSERT_GT(document.size(), 19u * 1000 * 1000);
  auto feed = AddFeed("big", document, "Big");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 5000);
  EXPECT_EQ(Messages("Big").size(), 5000u);
}

TEST_F(FeedCheckBadInput, BodiesKeepZeroBytesAndBrokenUtf8BecomesReplacementCharacters) {
  std::string body = std::string("before\0after ", 13) + "\xff\xfe\xc3 broken";
  auto feed = AddFeed("bytes",
                      "<rss><channel><item><title>Bytes</title><guid>b</guid><description>" + body +
                          "</description></item></channel></rss>",
                      "Bytes");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  auto messages = Messages("Bytes");
  ASSERT_EQ(messages.size(), 1u);
  const std::string replaced = std::string("before\0after ", 13) + "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD broken";
  EXPECT_NE(messages[0].find("<x-html>" + replaced + "</x-html>"), std::string::npos);
}

TEST_F(FeedCheckBadInput, HtmlServedAsAFeedFailsCleanly) {
  auto feed =
      AddFeed("html", "<!DOCTYPE html><html><head><title>Not a feed</title><body><p>Hello<br></body></html>", "Html");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), -1);
  EXPECT_EQ(Messages("Html").size(), 0u);
}

TEST_F(FeedCheckBadInput, UnwritablePendingLosesNothingAndKeepsTheDate) {
  auto feed = AddFeed("locked",
                      "<rss><channel><item><title>T</title><guid>l</guid>"
                      "<pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate></item></channel></rss>",
                      "Locked");
  // A folder where the staging mailbox's file should be: nothing can be appended to it.
  std::filesystem::create_directory(dataFolder + "/Pending.mbx");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 0);
  EXPECT_EQ(writer.AppendFailures(), 1);
  EXPECT_FALSE(checker.LastProblem().empty());
  EXPECT_EQ(LastArticle("locked"), "");

  std::filesystem::remove(dataFolder + "/Pending.mbx");
  EXPECT_EQ(checker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  EXPECT_EQ(LastArticle("locked"), "06/10/2003 04:00:00");
}

}  // namespace
}  // namespace tarnwick::check::test
