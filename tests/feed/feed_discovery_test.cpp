// Finding the feeds a web page links to, and telling a feed from a page.
#include "feed/feed_discovery.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

constexpr char kPage[] = "http://example.org/blog/post.html";

std::vector<std::string> Urls(const Discovery& discovery) {
  std::vector<std::string> urls;
  for (const FeedLink& link : discovery.feeds) urls.push_back(link.url);
  return urls;
}

TEST(FeedDiscovery, FeedDocumentsAreFeedsWhateverTheirRootsPrefix) {
  for (const char* document :
       {"<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>T</title></channel></rss>",
        "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>T</title></feed>",
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><channel/></rdf:RDF>"}) {
    const Discovery discovery = DiscoverFeeds(document, kPage);
    EXPECT_TRUE(discovery.isFeed) << document;
    EXPECT_TRUE(discovery.feeds.empty());
  }
  // Well-formed, but a page: its links are what counts.
  const Discovery xhtml = DiscoverFeeds(
      "<html><head><link rel=\"alternate\" type=\"application/atom+xml\" href=\"/a.xml\"/></head></html>", kPage);
  EXPECT_FALSE(xhtml.isFeed);
  EXPECT_TRUE(xhtml.isPage);
  EXPECT_EQ(Urls(xhtml), std::vector<std::string>{"http://example.org/a.xml"});
}

TEST(FeedDiscovery, LinksAreReadInAnyAttributeOrderCaseAndQuoting) {
  const Discovery discovery = DiscoverFeeds(
      R"(<!DOCTYPE html><HTML><HEAD>
      <LINK HREF="https://example.org/rss?a=1&amp;b=2" TYPE="Application/RSS+XML" REL="Alternate" title="All &amp; more">
      <link type='application/atom+xml; charset=utf-8' rel='home alternate' href='comments.atom'>
      <link rel=alternate type=application/rdf+xml href=../rdf.xml>
      <link rel="stylesheet" type="text/css" href="style.css">
      <link rel="alternate" type="text/html" href="other.html">
      <link rel="alternates" type="application/rss+xml" href="not-a-word.xml">
      <link rel="alternate" type="application/rss+xml" href="  ">
      </HEAD><body></body></HTML>)",
      kPage);
  EXPECT_FALSE(discovery.isFeed);
  EXPECT_TRUE(discovery.isPage);
  ASSERT_EQ(Urls(discovery),
            (std::vector<std::string>{"https://example.org/rss?a=1&b=2", "http://example.org/blog/comments.atom",
                                      "http://example.org/rdf.xml"}));
  EXPECT_EQ(discovery.feeds[0].title, "All & more");
  EXPECT_EQ(discovery.feeds[1].title, "");
}

TEST(FeedDiscovery, BaseHrefDecidesAndEveryAddressComesOnceInPageOrder) {
  const Discovery discovery = DiscoverFeeds(
      R"(<html><head><base href="/feeds/">
      <!-- <link rel="alternate" type="application/rss+xml" href="commented.xml"> -->
      <script>var s = '<link rel="alternate" type="application/rss+xml" href="scripted.xml">';</script>
      <link rel="alternate" type="application/rss+xml" href="b.xml">
      <link rel="alternate" type="application/atom+xml" href="a.xml">
      <link rel="alternate" type="application/rss+xml" href="http://example.org/feeds/b.xml">
      <link rel="alternate" type="application/rss+xml" href="file:///etc/passwd">
      </head></html>)",
      kPage);
  EXPECT_EQ(Urls(discovery),
            (std::vector<std::string>{"http://example.org/feeds/b.xml", "http://example.org/feeds/a.xml"}));
}

TEST(FeedDiscovery, PageWithoutFeedLinksAndBrokenTextOfferNothing) {
  const Discovery page = DiscoverFeeds("<html><head><title>No feeds</title></head><body>Hi</body></html>", kPage);
  EXPECT_TRUE(page.isPage);
  EXPECT_TRUE(page.feeds.empty());
  const Discovery broken = DiscoverFeeds("<rss><channel><title>Broken</channel>", kPage);
  EXPECT_FALSE(broken.isFeed);
  EXPECT_FALSE(broken.isPage);
  EXPECT_TRUE(broken.feeds.empty());
  const Discovery cut = DiscoverFeeds("<html><link rel=\"alternate\" type=\"application/rss+xml\" href=\"x", kPage);
  EXPECT_EQ(Urls(cut), std::vector<std::string>{"http://example.org/blog/x"});
}

TEST(FeedDiscovery, ResolvesReferencesAsABrowserDoes) {
  EXPECT_EQ(ResolveUrl(kPage, "feed.xml"), "http://example.org/blog/feed.xml");
  EXPECT_EQ(ResolveUrl(kPage, "/feed.xml"), "http://example.org/feed.xml");
  EXPECT_EQ(ResolveUrl(kPage, "?format=rss"), "http://example.org/blog/post.html?format=rss");
  EXPECT_EQ(ResolveUrl(kPage, "https://other.example/f"), "https://other.example/f");
  EXPECT_EQ(ResolveUrl("not an address", "feed.xml"), "");
}

}  // namespace
}  // namespace tarnwick::feed
