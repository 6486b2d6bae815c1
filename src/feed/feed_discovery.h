#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::feed {

/// The largest page that is fetched to look for feeds in; a larger download fails.
inline constexpr size_t kMaxDiscoveryPageBytes = 4 * 1024 * 1024;

/// One feed a web page links to: its absolute address, and the title the link gives (may be empty).
struct FeedLink {
  std::string url;
  std::string title;

  bool operator==(const FeedLink&) const = default;
};

/// What a downloaded document offers: it is a feed itself, or a page linking to `feeds`.
struct Discovery {
  bool isFeed = false;
  bool isPage = false;          ///< the document has an <html> element: a web page
  std::vector<FeedLink> feeds;  ///< in page order, each address once; empty for a feed
};

/// Reads `document`, downloaded from `pageUrl`. A well-formed document whose root element is a
/// feed's (rss, RDF or feed, any prefix) is a feed. Otherwise every
/// <link rel="alternate" type="application/rss+xml|atom+xml|rdf+xml" href="..."> of the page is
/// taken (attributes in any order and letter case, rel among other words, references in values
/// decoded), its href resolved against the page's <base href> when it has one, else `pageUrl`;
/// only http and https addresses are kept. Safe on any text; takes time linear in its size.
Discovery DiscoverFeeds(std::string_view document, const std::string& pageUrl);

/// `reference` resolved against the absolute address `base` as a browser resolves a link; empty
/// when the result is no usable address.
std::string ResolveUrl(const std::string& base, const std::string& reference);

}  // namespace tarnwick::feed
