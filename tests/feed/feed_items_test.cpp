#include "feed/feed_items.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

const platform::ManualClock kClock{platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15)};

std::vector<Article> ReadAll(const std::string& text, FeedFormat* detected = nullptr, int* visited = nullptr) {
  XmlDocument document;
  document.ParseText(text);
  FeedFormat format = DetectFeedFormat(document);
  if (detected != nullptr) *detected = format;
  std::vector<Article> articles;
  int elements = 0;
  WalkItems(
      document, format, [&] { articles.push_back(ReadItem(document, format, kClock)); }, [&] { ++elements; });
  if (visited != nullptr) *visited = elements;
  return articles;
}

TEST(DetectFeedFormat, WhenTheRootSaysNothingTheFirstGuidOrIdBelowItDecides) {
  XmlDocument document;
  document.ParseText("<doc><id>urn:x</id><entry><guid>g</guid></entry></doc>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
  document.ParseText("<doc><channel><item><GUID>g</GUID><id>i</id></item></channel></doc>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
  document.ParseText("<rdf:RDF><channel/><item><title>t</title></item></rdf:RDF>");  // prefix unbound
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
  document.ParseText("<doc><atom:id>x</atom:id><entry/></doc>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
  document.ParseText("<id><x/></id>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
}

TEST(DetectFeedFormat, TheRootElementDecidesFirst) {
  XmlDocument document;
  // Atom without any id, and with a guid where the first-id rule would have said RSS.
  document.ParseText(
      "<feed xmlns=\"http://www.w3.org/2005/Atom\"><guid>g</guid><entry><title>t</title></entry></feed>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
  document.ParseText("<a:feed xmlns:a=\"http://purl.org/atom/ns#\"><a:entry/></a:feed>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
  document.ParseText("<entry><title>one</title></entry>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
  // RSS whose channel has an "id" before any guid.
  document.ParseText("<rss><channel><id>x</id><item><title>t</title></item></channel></rss>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
  document.ParseText("<r:RDF xmlns:r=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><id>x</id></r:RDF>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
  document.ParseText("<item><id>x</id></item>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kRss);
  // A root in a foreign namespace says nothing.
  document.ParseText("<x:feed xmlns:x=\"http://example.org/other\"><id>x</id></x:feed>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
  document.ParseText("<x:RDF xmlns:x=\"http://example.org/other\"><id>x</id></x:RDF>");
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
}

TEST(DetectFeedFormat, LeavesTheCursorWhereItWas) {
  XmlDocument document;
  document.ParseText("<feed><id>x</id><entry><title>t</title></entry></feed>");
  ASSERT_TRUE(document.FindChildElement());
  ASSERT_TRUE(document.FindChildElement("entry"));
  uint32_t child = document.ChildPosition();
  EXPECT_EQ(DetectFeedFormat(document), FeedFormat::kAtom);
  EXPECT_EQ(document.ChildPosition(), child);
}

TEST(WalkItems, FindsItemsAtAnyDepthInDocumentOrder) {
  int visited = 0;
  auto articles = ReadAll(
      "<rss><channel><title>Channel</title>"
      "<item><title>one</title><guid>1</guid></item>"
      "<group><ITEM><title>two</title><guid>2</guid></ITEM></group>"
      "<x:item><title>prefixed</title></x:item>"
      "</channel><item><title>three</title><guid>3</guid></item></rss>",
      nullptr, &visited);
  ASSERT_EQ(articles.size(), 3u);
  EXPECT_EQ(articles[0].title, "one");
  EXPECT_EQ(articles[1].title, "two");
  EXPECT_EQ(articles[2].title, "three");
  EXPECT_EQ(visited, 14);  // every element below the root, items and their children alike
}

TEST(ReadItem, RssItemFields) {
  auto articles = ReadAll(
      "<rss><channel><title>Channel title</title><item>"
      "<guid>id-1</guid><author>me@example.org</author><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>"
      "<description><![CDATA[<p>Hi</p>]]> &amp; more</description>"
      "<enclosure url=\"http://e/x.mp3\" length=\"12\" type=\"audio/mpeg\"/>"
      "<link>http://example.org/1</link><title>First &lt;one&gt;</title>"
      "<category>News</category><comments>http://c</comments><source url=\"u\">Src</source>"
      "</item></channel></rss>");
  ASSERT_EQ(articles.size(), 1u);
  const Article& a = articles[0];
  EXPECT_EQ(a.title, "First <one>");
  EXPECT_EQ(a.body, "<p>Hi</p> & more");
  EXPECT_EQ(a.link, "http://example.org/1");
  EXPECT_EQ(a.author, "me@example.org");
  EXPECT_EQ(a.date, "Tue, 10 Jun 2003 04:00:00 GMT");
  EXPECT_EQ(a.guid, "id-1");
  EXPECT_EQ(a.enclosureUrl, "http://e/x.mp3");
  EXPECT_EQ(a.enclosureLength, "12");
  EXPECT_EQ(a.enclosureType, "audio/mpeg");
  EXPECT_EQ(a.category, "News");
  EXPECT_EQ(a.comments, "http://c");
  EXPECT_EQ(a.source, "Src");
}

TEST(ReadItem, EveryItemStartsEmpty) {
  auto articles = ReadAll(
      "<rss><channel>"
      "<item><title>a</title><enclosure url=\"http://e/1\"/><guid>1</guid></item>"
      "<item><title>b</title><guid>2</guid></item>"
      "</channel></rss>");
  ASSERT_EQ(articles.size(), 2u);
  EXPECT_EQ(articles[0].enclosureUrl, "http://e/1");
  EXPECT_EQ(articles[1].enclosureUrl, "");
}

TEST(ReadItem, RssDescriptionWithChildElementsIsEmpty) {
  auto articles =
      ReadAll("<rss><channel><item><title>t</title><description><b>x</b></description></item></channel></rss>");
  ASSERT_EQ(articles.size(), 1u);
  EXPECT_EQ(articles[0].body, "");
  EXPECT_EQ(articles[0].title, "t");
}

TEST(ReadItem, AtomEntryFields) {
  FeedFormat format;
  auto articles = ReadAll(
      "<feed><id>urn:feed</id><title>Feed</title><entry>"
      "<content type=\"xhtml\" src=\"http://src\"><div><p>Rich</p></div></content>"
      "<author><email>a@b</email><name>Ann</name></author>"
      "<link rel=\"alternate\" href=\"http://example.org/a\"/><link href=\"http://second\"/>"
      "<id>urn:entry:1</id><issued>2003-12-13T18:30:02Z</issued><title>Entry</title>"
      "<summary>Short</summary><category term=\"tech\"/>"
      "</entry></feed>",
      &format);
  EXPECT_EQ(format, FeedFormat::kAtom);
  ASSERT_EQ(articles.size(), 1u);
  const Article& a = articles[0];
  EXPECT_EQ(a.body, "<div><p>Rich</p></div>");
  EXPECT_EQ(a.link, "http://example.org/a");
  EXPECT_EQ(a.author, "Ann <a@b>");
  EXPECT_EQ(a.guid, "urn:entry:1");
  EXPECT_EQ(a.date, "Sat, 13 Dec 2003 18:30:00 +0000");  // the zone stays with the date
  EXPECT_EQ(a.summary, "Short");
  EXPECT_EQ(a.category, "tech");
}

TEST(ReadItem, AtomEntryWithoutIssuedOrNameOrLink) {
  auto articles = ReadAll(
      "<feed><id>f</id><entry><id>e</id>"
      "<author><email>a@b</email></author><content src=\"http://only-src\">text</content></entry></feed>");
  ASSERT_EQ(articles.size(), 1u);
  EXPECT_EQ(articles[0].date, "");
  EXPECT_EQ(articles[0].author, "<a@b>");
  EXPECT_EQ(articles[0].link, "http://only-src");
  EXPECT_EQ(articles[0].body, "text");
}

TEST(WalkItems, AtomEntriesWithoutIdsAreRead) {
  FeedFormat format;
  auto articles = ReadAll(
      "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>No ids</title>"
      "<entry><title>one</title><link href=\"http://example.org/1\"/></entry>"
      "<entry><title>two</title><content>body</content></entry></feed>",
      &format);
  EXPECT_EQ(format, FeedFormat::kAtom);
  ASSERT_EQ(articles.size(), 2u);
  EXPECT_EQ(articles[0].link, "http://example.org/1");
  EXPECT_EQ(articles[1].body, "body");
}

TEST(WalkItems, ARootThatIsAnItemIsAFeedOfOne) {
  int visited = 0;
  auto articles = ReadAll("<entry><title>Alone</title><id>urn:1</id><content>c</content></entry>", nullptr, &visited);
  ASSERT_EQ(articles.size(), 1u);
  EXPECT_EQ(articles[0].title, "Alone");
  EXPECT_EQ(articles[0].guid, "urn:1");
  EXPECT_EQ(visited, 3);
  articles = ReadAll("<item><title>Lone item</title><guid>g</guid></item>");
  ASSERT_EQ(articles.size(), 1u);
  EXPECT_EQ(articles[0].guid, "g");
}

TEST(WalkItems, PrefixedItemsOfTheVocabularyAreItemsWithTheirPrefixedFields) {
  auto articles = ReadAll(
      "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns:rss=\"http://purl.org/rss/1.0/\""
      " xmlns:x=\"http://example.org/x\">"
      "<rss:channel><rss:title>C</rss:title></rss:channel>"
      "<rss:item><rss:title>First</rss:title><rss:link>http://example.org/1</rss:link>"
      "<rss:description>Body one</rss:description></rss:item>"
      "<x:item><x:title>foreign</x:title></x:item>"
      "<undeclared:item><title>unbound</title></undeclared:item>"
      "<rss:item><rss:title>Second</rss:title></rss:item></rdf:RDF>");
  ASSERT_EQ(articles.size(), 2u);
  EXPECT_EQ(articles[0].title, "First");
  EXPECT_EQ(articles[0].link, "http://example.org/1");
  EXPECT_EQ(articles[0].body, "Body one");
  EXPECT_EQ(articles[1].title, "Second");

  articles = ReadAll(
      "<a:feed xmlns:a=\"http://www.w3.org/2005/Atom\"><a:entry><a:title>T</a:title><a:id>urn:a</a:id>"
      "<a:link rel=\"self\" href=\"http://example.org/self\"/><a:link rel=\"alternate\" href=\"http://example.org/a\"/>"
      "<a:author><a:name>Ann</a:name></a:author></a:entry></a:feed>");
  ASSERT_EQ(articles.size(), 1u);
  EXPECT_EQ(articles[0].guid, "urn:a");
  EXPECT_EQ(articles[0].author, "Ann");
  EXPECT_EQ(articles[0].link, "http://example.org/a");
}

// Atom 1.0 entries carry "published" and "updated" rather than "issued"; the feed's own
// "updated" belongs to no entry.
TEST(ReadItem, AtomDateIsIssuedThenPublishedThenUpdated) {
  auto articles = ReadAll(
      "<feed><id>f</id><updated>2026-12-01T00:00:00Z</updated>"
      "<entry><id>1</id><title>a</title><updated>2026-12-03T10:00:00Z</updated>"
      "<published>2026-12-02T10:00:00+09:00</published><issued>2026-12-01T10:00:00-08:00</issued></entry>"
      "<entry><id>2</id><title>b</title><updated>2026-12-03T10:00:00Z</updated>"
      "<published>2026-12-02T10:00:00+09:00</published></entry>"
      "<entry><id>3</id><title>c</title><updated>2026-12-03T10:00:00Z</updated></entry>"
      "<entry><id>4</id><title>d</title></entry></feed>");
  ASSERT_EQ(articles.size(), 4u);
  EXPECT_EQ(articles[0].date, "Tue, 01 Dec 2026 10:00:00 -0800");
  EXPECT_EQ(articles[1].date, "Wed, 02 Dec 2026 10:00:00 +0900");
  EXPECT_EQ(articles[2].date, "Thu, 03 Dec 2026 10:00:00 +0000");
  EXPECT_EQ(articles[3].date, "");
}

// A Blogger-style link set: the page is the alternate link, wherever it stands among the others.
TEST(ReadItem, AtomLinkIsTheFirstAlternateOrUntypedLink) {
  auto articles = ReadAll(
      "<feed><id>f</id><entry><id>1</id><title>a</title>"
      "<link rel=\"replies\" type=\"application/atom+xml\" href=\"http://blog/comments/1\"/>"
      "<link rel=\"edit\" href=\"http://blog/edit/1\"/><link rel=\"self\" href=\"http://blog/self/1\"/>"
      "<link rel=\"alternate\" type=\"text/html\" href=\"http://blog/post-1.html\"/>"
      "<link rel=\"alternate\" href=\"http://blog/second.html\"/></entry>"
      "<entry><id>2</id><title>b</title><link rel=\"enclosure\" href=\"http://blog/a.mp3\"/>"
      "<link href=\"http://blog/post-2.html\"/></entry>"
      "<entry><id>3</id><title>c</title><content src=\"http://blog/src-3\"/>"
      "<link rel=\"self\" href=\"http://blog/self/3\"/></entry></feed>");
  ASSERT_EQ(articles.size(), 3u);
  EXPECT_EQ(articles[0].link, "http://blog/post-1.html");
  EXPECT_EQ(articles[1].link, "http://blog/post-2.html");
  EXPECT_EQ(articles[2].link, "http://blog/src-3");  // no alternate: the content's src stays
}

}  // namespace
}  // namespace tarnwick::feed
