#include "feed/link_key.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

TEST(NormalizeLink, LinksToTheSamePageCompareEqual) {
  const std::string key = NormalizeLink("http://example.org/news/1");
  EXPECT_EQ(key, "//example.org/news/1");
  for (const char* same : {"https://example.org/news/1", "HTTP://EXAMPLE.ORG/news/1", "http://example.org:80/news/1",
                           "https://example.org:443/news/1/", "  http://example.org/news/1#comments\n",
                           "https://example.org/news/1?utm_source=feed&utm_medium=rss",
                           "http://example.org/news/1?UTM_Campaign=x&fbclid=abc&gclid=1"}) {
    EXPECT_EQ(NormalizeLink(same), key) << same;
  }
}

TEST(NormalizeLink, WhatNamesAnotherPageIsKept) {
  EXPECT_EQ(NormalizeLink("http://example.org/News/1"), "//example.org/News/1");  // paths are case-sensitive
  EXPECT_EQ(NormalizeLink("http://example.org:8080/a"), "//example.org:8080/a");
  EXPECT_EQ(NormalizeLink("https://example.org:80/a"), "//example.org:80/a");  // not https's own port
  EXPECT_EQ(NormalizeLink("http://example.org/a?id=2&utm_source=x&page=3"), "//example.org/a?id=2&page=3");
  EXPECT_EQ(NormalizeLink("http://example.org/?p=12"), "//example.org?p=12");
  EXPECT_EQ(NormalizeLink("ftp://Example.org/file"), "ftp://example.org/file");
  EXPECT_EQ(NormalizeLink("/relative/path/?q=1#x"), "/relative/path?q=1");
  EXPECT_EQ(NormalizeLink(" \t"), "");
  EXPECT_EQ(NormalizeLink("#only-a-fragment"), "");
}

TEST(NormalizeLink, AKeyNormalisesToItself) {
  for (const char* link : {"http://a.example/x//", "http://a.example/x?utm_source=a?b", "http://a.example/x /#f",
                           "http://a.example ?q", "http://a.example/x?a &utm_source=1", "http://a.example/x? ",
                           "http://?x", "http://", "http:///x", "//A.example:80/x/", "http://a.example:80:80/",
                           "ftp://A.example/x//", "x y://a", "/?utm_source=1&", "a/b//", "http://a.example/x?a=1&&b=2&",
                           "HTTPS://a.example:443/?fbclid=1#top", "\n?&\n&fbclid\n&&", "http://a.example :80/x"}) {
    const std::string key = NormalizeLink(link);
    EXPECT_EQ(NormalizeLink(key), key) << link;
  }
  // Protocol-relative links and links with more than one trailing slash name the same page.
  EXPECT_EQ(NormalizeLink("//Example.org/news//"), NormalizeLink("http://example.org/news"));
}

TEST(LinkGuard, KnowsTheNewsboxLinksUnlessTheDocumentSharesThem) {
  LinkGuard guard;
  guard.AddDeliveredLink("http://example.org/a");
  guard.AddDeliveredLink("http://example.org/");
  guard.AddDeliveredLink("");
  EXPECT_EQ(guard.DeliveredLinkCount(), 2u);
  EXPECT_TRUE(guard.AlreadyDelivered("https://example.org/a?utm_source=feed"));
  EXPECT_FALSE(guard.AlreadyDelivered("http://example.org/b"));
  EXPECT_FALSE(guard.AlreadyDelivered(""));

  guard.CountDocumentLink("http://example.org/a");  // one item: still a key
  EXPECT_TRUE(guard.AlreadyDelivered("http://example.org/a"));
  guard.CountDocumentLink("https://example.org");  // two items of the document share the home page
  guard.CountDocumentLink("http://example.org/");
  EXPECT_FALSE(guard.AlreadyDelivered("http://example.org/"));

  guard.Clear();
  EXPECT_FALSE(guard.AlreadyDelivered("http://example.org/a"));
}

}  // namespace
}  // namespace tarnwick::feed
