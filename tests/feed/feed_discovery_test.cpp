// Finding the feeds a web page links to, and telling a feed from a page.
#include "feed/feed_discovery.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

std::vector<std::string> Urls(const Discovery& discovery) {
  std::vector<std::string> urls;
  for (const FeedLink& link : discovery.feeds) urls.push_back(link.url);
  return urls;
}

TEST(FeedDiscovery, FeedLinksAreReadAsBrowsersReadThem) {
  const Discovery page = DiscoverFeeds(R"(<!DOCTYPE html><HTML><HEAD><base href="/feeds/">
    <!-- <link rel="alternate" type="application/rss+xml" href="commented.xml"> -->
    <script>var s = '<link rel="alternate" type="application/rss+xml" href="scripted.xml">';</script>
    <LINK HREF="https://example.org/rss?a=1&amp;b=2" TYPE="Application/RSS+XML" REL="Alternate" title="All &amp; more">
    <link type='application/atom+xml; charset=utf-8' rel='home alternate' href='comments.atom'>
    <link rel=alternate type=application/rdf+xml href=../rdf.xml>
    <link rel="alternate" type="application/rss+xml" href="/feeds/comments.atom">
    <link rel="alternates" type="application/rss+xml" href="not-the-word.xml">
    <link rel="alternate" type="text/html" href="other.html">
    <link rel="alternate" type="application/rss+xml" href="file:///etc/passwd">
    </HEAD></HTML>)",
                                       "http://example.org/blog/post.html");
  EXPECT_TRUE(page.isPage);
  EXPECT_FALSE(page.isFeed);
  EXPECT_EQ(Urls(page),
            (std::vector<std::string>{"https://example.org/rss?a=1&b=2", "http://example.org/feeds/comments.atom",
                                      "http://example.org/rdf.xml"}));
  EXPECT_EQ(page.feeds[0].title, "All & more");
}

TEST(FeedDiscovery, FeedsAreFeedsWhateverTheirRootsPrefixAndBrokenTextIsNeither) {
  for (const char* feed : {"<rss version=\"2.0\"><channel/></rss>", "<feed xmlns=\"http://www.w3.org/2005/Atom\"/>",
                           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/>"}) {
    EXPECT_TRUE(DiscoverFeeds(feed, "http://example.org/").isFeed) << feed;
  }
  const Discovery broken = DiscoverFeeds("<rss><channel><title>Broken</channel>", "http://example.org/");
  EXPECT_FALSE(broken.isFeed || broken.isPage);
}

}  // namespace
}  // namespace tarnwick::feed
