// Which items of a feed arrive, and which never arrive twice: items known by their content, links
// that keep identifying an item when its guid changes, and the first check's limit.
#include "check_fixture.h"

#include "check/skip_summary.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <set>

namespace tarnwick::check::test {
namespace {

using feed::SkipReason;

std::string Rss(const std::string& items) {
  return "<rss version=\"2.0\"><channel><title>C</title><link>http://example.org/</link>" + items + "</channel></rss>";
}

std::string Item(const std::string& guid, const std::string& link, const std::string& title) {
  return "<item><title>" + title + "</title><guid>" + guid + "</guid><link>" + link + "</link></item>";
}

using ItemIdentityTest = CheckFixture;

TEST_F(ItemIdentityTest, DescriptionOnlyItemsArriveOnceOverThreeChecks) {
  const std::string document =
      "<rss version=\"0.91\"><channel><title>Old</title>"
      "<item><description>Only a text</description></item>"
      "<item><title>Only a title</title></item>"
      "<item><title>Only a title</title><description>and a text</description></item></channel></rss>";
  auto feed = AddFeed("old", document, "Old");
  EXPECT_EQ(Check(feed), 3);
  EXPECT_EQ(Check(feed), 0);
  EXPECT_EQ(Skipped(SkipReason::kAlreadyDelivered), 3);
  EXPECT_EQ(Check(feed), 0);
  EXPECT_EQ(Messages("Old").size(), 3u);
  // Another feed with the same items is another source: its items are its own.
  auto copy = AddFeed("copy", document, "Old");
  EXPECT_EQ(Check(copy), 3);
}

TEST_F(ItemIdentityTest, GuidsMovedToHttpsWithTrackedLinksDeliverNothingNew) {
  auto feed = AddFeed("moved",
                      Rss(Item("http://example.org/a", "http://example.org/a", "A") +
                          Item("http://example.org/b", "http://Example.org:80/b/", "B")),
                      "Moved");
  EXPECT_EQ(Check(feed), 2);
  Serve("moved", Rss(Item("https://example.org/a", "https://example.org/a?utm_source=feed", "A") +
                     Item("https://example.org/b", "https://example.org/b?utm_source=feed&utm_medium=rss#top", "B") +
                     Item("https://example.org/c", "https://example.org/c?utm_source=feed", "C")));
  EXPECT_EQ(Check(feed), 1);
  EXPECT_EQ(Skipped(SkipReason::kSameLink), 2);
  // Their new guids never arrive: the links keep recognising them.
  EXPECT_EQ(Check(feed), 0);
  EXPECT_EQ(Skipped(SkipReason::kSameLink), 2);
  EXPECT_EQ(Skipped(SkipReason::kAlreadyDelivered), 1);
  EXPECT_EQ(Messages("Moved").size(), 3u);
}

TEST_F(ItemIdentityTest, TrackersLeaveTheStoredMessageAndItsStrippedLinkStillRecognisesTheItem) {
  const std::string body =
      "&lt;p&gt;Text &lt;a href=&quot;http://example.org/more?id=7&amp;amp;utm_source=rss&quot;&gt;more&lt;/a&gt;"
      "&lt;img src=&quot;http://example.org/photo.png?utm_medium=feed&quot; alt=&quot;photo&quot;&gt;"
      "&lt;img src=&quot;http://example.org/p.gif&quot; width=&quot;1&quot; height=&quot;1&quot;&gt;"
      "&lt;img src=&quot;https://stats.wordpress.com/b.gif?post=1&quot;&gt;&lt;/p&gt;";
  auto feed = AddFeed("tracked",
                      Rss("<item><title>A</title><guid>1</guid><link>http://example.org/a?id=3&amp;utm_source=rss"
                          "</link><description>" +
                          body + "</description></item>"),
                      "Tracked");
  EXPECT_EQ(Check(feed), 1);
  const std::string message = Messages("Tracked").at(0);
  EXPECT_NE(message.find("Website: http://example.org/a?id=3\r\n"), std::string::npos) << message;
  EXPECT_NE(message.find("<a href=\"http://example.org/more?id=7\">more</a>"), std::string::npos) << message;
  EXPECT_NE(message.find("<img src=\"http://example.org/photo.png\" alt=\"photo\">"), std::string::npos) << message;
  EXPECT_EQ(message.find("p.gif"), std::string::npos);
  EXPECT_EQ(message.find("stats.wordpress.com"), std::string::npos);
  EXPECT_EQ(message.find("utm_"), std::string::npos);
  // A new guid with the link tracked differently is still the delivered item.
  Serve("tracked", Rss(Item("2", "http://example.org/a?utm_campaign=x&id=3", "A")));
  EXPECT_EQ(Check(feed), 0);
  EXPECT_EQ(Skipped(SkipReason::kSameLink), 1);
}

TEST_F(ItemIdentityTest, ALinkThatItemsOfOneDocumentShareIsNoKey) {
  auto feed = AddFeed("home",
                      Rss(Item("1", "http://example.org/", "One") + Item("2", "http://example.org/", "Two") +
                          Item("3", "http://example.org", "Three")),
                      "Home");
  EXPECT_EQ(Check(feed), 3);
  // New guids, all pointing at the home page the newsbox knows: still new articles.
  Serve("home", Rss(Item("4", "http://example.org/", "Four") + Item("5", "https://example.org/", "Five") +
                    Item("3", "http://example.org", "Three")));
  EXPECT_EQ(Check(feed), 2);
  EXPECT_EQ(Skipped(SkipReason::kSameLink), 0);
  EXPECT_EQ(Skipped(SkipReason::kAlreadyDelivered), 1);
}

TEST_F(ItemIdentityTest, AFirstCheckDeliversOnlyTheNewestItemsItIsAllowed) {
  std::string items;
  // Fifty items, oldest first, one a day from 1 January 2026, so that the newest are at the end.
  for (int day = 1; day <= 50; ++day) {
    const std::string date = std::to_string(day <= 31 ? day : day - 31) + (day <= 31 ? " Jan" : " Feb") + " 2026";
    items += "<item><title>Day " + std::to_string(day) + "</title><guid>d" + std::to_string(day) + "</guid><pubDate>" +
             date + " 10:00:00 GMT</pubDate></item>";
  }
  auto feed = AddFeed("flood", Rss(items), "Flood");
  store::SettingsStore(settingsPath).WriteInt("flood", store::kFirstCheckArticlesKey, 5);
  EXPECT_EQ(Check(feed), 5);
  EXPECT_EQ(Skipped(SkipReason::kBeyondFirstCheck), 45);
  std::set<std::string> subjects;
  for (const std::string& message : Messages("Flood")) {
    const size_t at = message.find("Subject: ");
    subjects.insert(message.substr(at + 9, message.find('\r', at) - at - 9));
  }
  EXPECT_EQ(subjects, (std::set<std::string>{"Day 46", "Day 47", "Day 48", "Day 49", "Day 50"}));
  // The limit is for the first check only; what it left out is older than the last article.
  EXPECT_EQ(Check(feed), 0);
  EXPECT_EQ(Skipped(SkipReason::kBeyondFirstCheck), 0);
  EXPECT_EQ(Skipped(SkipReason::kNotNewer), 50);
  Serve("flood", Rss(items + "<item><title>Day 51</title><guid>d51</guid><pubDate>01 Mar 2026 10:00:00 GMT</pubDate>"
                             "</item>"));
  EXPECT_EQ(Check(feed), 1);
}

TEST(DescribeSkips, SaysHowManyItemsWereSkippedAndWhy) {
  SkipCounts skips{};
  EXPECT_EQ(DescribeSkips(skips), "");
  skips[static_cast<size_t>(SkipReason::kSameLink)] = 2;
  skips[static_cast<size_t>(SkipReason::kNoTitleOrText)] = 1;
  skips[static_cast<size_t>(SkipReason::kNotNewer)] = 5;
  EXPECT_EQ(DescribeSkips(skips),
            "1 item without title or text, 5 items not newer than the last article, "
            "2 items already delivered (same link)");
}

}  // namespace
}  // namespace tarnwick::check::test
