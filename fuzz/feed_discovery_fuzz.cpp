// Looks for feeds in arbitrary text as in a downloaded page. A feed document links to nothing,
// and a page gives each feed address once, over http or https only.

#include "feed/feed_discovery.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

void Fail(const std::string& what) {
  std::fprintf(stderr, "discovery: %s\n", what.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const tarnwick::feed::Discovery discovery = tarnwick::feed::DiscoverFeeds(page, "http://example.org/dir/page.html");
  if (discovery.isFeed && (!discovery.feeds.empty() || discovery.isPage)) Fail("a feed document links to feeds");
  std::set<std::string> seen;
  for (const tarnwick::feed::FeedLink& feed : discovery.feeds) {
    if (!feed.url.starts_with("http://") && !feed.url.starts_with("https://")) Fail("not a web address: " + feed.url);
    if (!seen.insert(feed.url).second) Fail("given twice: " + feed.url);
  }
  return 0;
}
