#include "feed/article_admission.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "feed/feed_date.h"
#include "platform/date_format.h"
#include "support/scoped_time_zone.h"

namespace tarnwick::feed {
namespace {

using platform::DateTime;

// One feed checked at 7 December 2026 07:03:15 whose newest delivered article is of
// 10 June 2003 04:00:00.
class AdmitArticleTest : public testing::Test {
protected:
  AdmitArticleTest() {
    feed_.alias = "news";
    feed_.name = "Daily News";
    feed_.url = "http://example.com/feed.xml";
    downloadText_ = NormalizeFeedDate(platform::FormatLocaleDate(clock_.Now()), kFreeFormDateMode, clock_);
  }

  static Article Item(std::string guid, std::string date) {
    Article article;
    article.title = "Headline";
    article.body = "Text";
    article.author = "Jane";
    article.guid = std::move(guid);
    article.date = std::move(date);
    return article;
  }

  bool Admit(Article& article) {
    return AdmitArticle(feed_, article, lastDate_, newestDate_, knownIds_, downloadText_, clock_);
  }

  test::ScopedTimeZone zone_{"UTC0"};  // dates with zones read the same on every machine
  platform::ManualClock clock_{DateTime::FromParts(2026, 12, 7, 7, 3, 15)};
  store::FeedSettings feed_;
  DateTime lastDate_ = DateTime::FromParts(2003, 6, 10, 4, 0, 0);
  DateTime newestDate_ = lastDate_;
  KnownIds knownIds_;
  std::string downloadText_;
};

TEST_F(AdmitArticleTest, TheDownloadTextIsTheCheckTimeInDisplayForm) {
  EXPECT_EQ(downloadText_, "Mon, 7 Dec 2026 07:03:15");
}

TEST_F(AdmitArticleTest, NeedsATitleOrABody) {
  Article titleOnly = Item("a", "Tue, 10 Jun 2003 05:00:00 GMT");
  titleOnly.body.clear();
  EXPECT_TRUE(Admit(titleOnly));
  Article bodyOnly = Item("b", "Tue, 10 Jun 2003 05:00:00 GMT");
  bodyOnly.title.clear();
  EXPECT_TRUE(Admit(bodyOnly));
  Article neither = Item("c", "");
  neither.title.clear();
  neither.body.clear();
  neither.author.clear();
  EXPECT_FALSE(Admit(neither));
  // Turned away before anything is filled in.
  EXPECT_EQ(neither.author, "");
  EXPECT_EQ(neither.date, "");
}

TEST_F(AdmitArticleTest, AnArticleWithoutAuthorCarriesTheFeedsName) {
  Article article = Item("a", "Tue, 10 Jun 2003 05:00:00 GMT");
  article.author.clear();
  EXPECT_TRUE(Admit(article));
  EXPECT_EQ(article.author, "Daily News");
  Article signed_ = Item("b", "Tue, 10 Jun 2003 05:00:00 GMT");
  EXPECT_TRUE(Admit(signed_));
  EXPECT_EQ(signed_.author, "Jane");
}

// The download time stands in for the date but names no publication, so it never moves the
// newest date: an item published before the check and seen after it is still new next time.
TEST_F(AdmitArticleTest, AnArticleWithoutDateTakesTheDownloadTimeButNeverMovesTheNewestDate) {
  Article article = Item("a", "");
  EXPECT_TRUE(Admit(article));
  EXPECT_EQ(article.date, downloadText_);
  EXPECT_EQ(newestDate_, lastDate_);
  Article dated = Item("b", "Mon, 07 Dec 2026 07:00:00");
  EXPECT_TRUE(Admit(dated));
  EXPECT_EQ(newestDate_, DateTime::FromParts(2026, 12, 7, 7, 0, 0));
}

TEST_F(AdmitArticleTest, TheIdentifierIsTheGuidOrElseTheLink) {
  Article byGuid = Item("urn:1", "");
  byGuid.link = "http://example.com/1";
  EXPECT_EQ(MessageIdOf(byGuid, feed_.url), "<urn:1@tarnwick.invalid>");
  Article byLink = Item("", "");
  byLink.link = "http://example.com/1";
  EXPECT_EQ(MessageIdOf(byLink, feed_.url), "<http://example.com/1@tarnwick.invalid>");
  // Line breaks could not stand in a header; the identifier holds the blanks the header will.
  EXPECT_EQ(MessageIdFor("\n  urn:2\r\n"), "<   urn:2  @tarnwick.invalid>");
}

TEST_F(AdmitArticleTest, AnArticleWithNeitherGuidNorLinkIsKnownByItsContent) {
  Article article = Item("", "Tue, 10 Jun 2003 05:00:00 GMT");
  EXPECT_TRUE(Admit(article));
  EXPECT_EQ(newestDate_, DateTime::FromParts(2003, 6, 10, 5, 0, 0));
  // Once delivered, the same content is recognised.
  knownIds_ = {MessageIdOf(article, feed_.url)};
  Article again = Item("", "Tue, 10 Jun 2003 06:00:00 GMT");
  EXPECT_FALSE(Admit(again));
  Article other = Item("", "Tue, 10 Jun 2003 06:00:00 GMT");
  other.body = "Other text";
  EXPECT_TRUE(Admit(other));
  // With neither title nor body there is nothing to know it by.
  Article empty = Item("", "Tue, 10 Jun 2003 06:00:00 GMT");
  empty.title.clear();
  empty.body.clear();
  EXPECT_EQ(MessageIdOf(empty, feed_.url), "");
}

TEST_F(AdmitArticleTest, AContentIdentifierHashesTheFeedUrlTitleAndBody) {
  Article article = Item("", "");
  const std::string id = MessageIdOf(article, "http://example.com/feed.xml");
  EXPECT_TRUE(std::regex_match(id, std::regex("<[0-9a-f]{40}@tarnwick\\.invalid>"))) << id;
  EXPECT_EQ(MessageIdOf(article, "http://example.com/feed.xml"), id);  // the same on every check
  EXPECT_NE(MessageIdOf(article, "http://example.com/other.xml"), id);
  Article otherTitle = article;
  otherTitle.title = "Headline 2";
  EXPECT_NE(MessageIdOf(otherTitle, "http://example.com/feed.xml"), id);
  // Title and body do not run into each other: "ab" + "c" is not "a" + "bc".
  Article split1 = article, split2 = article;
  split1.title = "ab";
  split1.body = "c";
  split2.title = "a";
  split2.body = "bc";
  EXPECT_NE(MessageIdOf(split1, ""), MessageIdOf(split2, ""));
  // Author and date may change between checks without making the item new.
  Article otherDate = article;
  otherDate.date = "Tue, 10 Jun 2003 06:00:00 GMT";
  otherDate.author = "Someone";
  EXPECT_EQ(MessageIdOf(otherDate, "http://example.com/feed.xml"), id);
}

TEST_F(AdmitArticleTest, OnlyIdentifiersAlreadyInTheNewsboxAreDuplicates) {
  knownIds_ = {"<other@tarnwick.invalid>", "<urn:1@tarnwick.invalid>"};
  Article known = Item("urn:1", "Tue, 10 Jun 2003 05:00:00 GMT");
  EXPECT_FALSE(Admit(known));
  // Compared byte for byte: another letter case is another item.
  Article otherCase = Item("URN:1", "Tue, 10 Jun 2003 05:00:00 GMT");
  EXPECT_TRUE(Admit(otherCase));
  // Two items of one document with the same guid both pass: nothing adds to the known ids.
  Article first = Item("urn:2", "Tue, 10 Jun 2003 05:00:00 GMT");
  Article second = Item("urn:2", "Tue, 10 Jun 2003 05:00:00 GMT");
  EXPECT_TRUE(Admit(first));
  EXPECT_TRUE(Admit(second));
  // Without a guid the link is the identifier that is looked up.
  knownIds_.insert("<http://example.com/3@tarnwick.invalid>");
  Article byLink = Item("", "Tue, 10 Jun 2003 05:00:00 GMT");
  byLink.link = "http://example.com/3";
  EXPECT_FALSE(Admit(byLink));
}

TEST_F(AdmitArticleTest, ADuplicateStillAdvancesTheNewestDate) {
  knownIds_ = {"<urn:1@tarnwick.invalid>"};
  Article known = Item("urn:1", "Sat, 13 Dec 2003 18:30:00");
  EXPECT_FALSE(Admit(known));
  EXPECT_EQ(newestDate_, DateTime::FromParts(2003, 12, 13, 18, 30, 0));
}

TEST_F(AdmitArticleTest, OnlyDatesLaterThanTheLastArticleAreNew) {
  Article equal = Item("a", "Tue, 10 Jun 2003 04:00:00 GMT");
  EXPECT_FALSE(Admit(equal));
  Article earlier = Item("b", "Tue, 10 Jun 2003 03:59:59 GMT");
  EXPECT_FALSE(Admit(earlier));
  Article later = Item("c", "Tue, 10 Jun 2003 04:00:01 GMT");
  EXPECT_TRUE(Admit(later));
  EXPECT_EQ(newestDate_, DateTime::FromParts(2003, 6, 10, 4, 0, 1));
  EXPECT_EQ(later.date, "Tue, 10 Jun 2003 04:00:01 GMT");
}

TEST_F(AdmitArticleTest, TheNewestDateOnlyMovesForward) {
  Article newest = Item("a", "Sat, 13 Dec 2003 18:30:00");
  Article between = Item("b", "Mon, 1 Sep 2003 12:00:00");
  EXPECT_TRUE(Admit(newest));
  EXPECT_TRUE(Admit(between));
  EXPECT_EQ(newestDate_, DateTime::FromParts(2003, 12, 13, 18, 30, 0));
}

TEST_F(AdmitArticleTest, WithoutOnlyNewArticlesOldItemsPassButDoNotMoveTheNewestDate) {
  for (int flag : {0, 2}) {
    feed_.downloadOnlyNewArticles = flag;
    Article old = Item("a", "Tue, 10 Jun 2003 04:00:00 GMT");
    EXPECT_TRUE(Admit(old)) << flag;
    EXPECT_EQ(newestDate_, lastDate_);
  }
  knownIds_ = {"<a@tarnwick.invalid>"};
  feed_.downloadOnlyNewArticles = 0;
  Article duplicate = Item("a", "Tue, 10 Jun 2003 04:00:00 GMT");
  EXPECT_FALSE(Admit(duplicate));
}

TEST_F(AdmitArticleTest, AnUnreadableDateTakesTheDownloadTextAndIsAdmitted) {
  Article article = Item("a", "Tue, 10 Foo 2003 04:00:00 GMT");
  EXPECT_TRUE(Admit(article));
  EXPECT_EQ(article.date, downloadText_);
  EXPECT_EQ(newestDate_, lastDate_);
  knownIds_ = {"<b@tarnwick.invalid>"};
  Article duplicate = Item("b", "Tue, 32 Jun 2003 04:00:00 GMT");
  EXPECT_FALSE(Admit(duplicate));
  EXPECT_EQ(duplicate.date, downloadText_);
}

TEST_F(AdmitArticleTest, ADateThatDoesNotSplitCountsAsTheCurrentTimeWithoutMovingTheNewestDate) {
  Article article = Item("a", "2003-12-13T18:30:02Z");
  EXPECT_TRUE(Admit(article));
  EXPECT_EQ(article.date, "2003-12-13T18:30:02Z");
  EXPECT_EQ(newestDate_, lastDate_);
  feed_.downloadOnlyNewArticles = 1;
  lastDate_ = clock_.Now().AddMinutes(1);  // the current time is not new against a later last date
  EXPECT_FALSE(Admit(article));
}

// A date in another zone is compared as the instant it names: 03:09:05 at -0800 is 11:09:05 UTC,
// later than a last article of 11:08 here, though its written time is earlier.
TEST_F(AdmitArticleTest, DatesInOtherZonesAreComparedAsInstants) {
  feed_.downloadOnlyNewArticles = 1;
  lastDate_ = DateTime::FromParts(2026, 12, 7, 11, 8, 0);
  newestDate_ = lastDate_;
  Article west = Item("west", "Mon, 07 Dec 2026 03:09:05 -0800");
  EXPECT_TRUE(Admit(west));
  EXPECT_EQ(west.date, "Mon, 07 Dec 2026 03:09:05 -0800");  // the message keeps the feed's text
  EXPECT_EQ(newestDate_, DateTime::FromParts(2026, 12, 7, 11, 9, 5));
  // 20:07 at +0900 is 11:07 UTC: older than the last article, though its written time is later.
  Article east = Item("east", "Mon, 07 Dec 2026 20:07:00 +0900");
  EXPECT_FALSE(Admit(east));
  EXPECT_EQ(newestDate_, DateTime::FromParts(2026, 12, 7, 11, 9, 5));
}

}  // namespace
}  // namespace tarnwick::feed
