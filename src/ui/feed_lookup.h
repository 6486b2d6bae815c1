#pragma once

#include "feed/feed_discovery.h"

#include <string>
#include <vector>

namespace tarnwick::ui {

/// What looking for a feed at an address came to.
enum class FeedLookupResult {
  kFeed,           ///< a feed: its address, and its title when it has one
  kNotDownloaded,  ///< the download failed, for `failure`
  kNotAFeed,       ///< the document is neither a feed nor a web page
  kNoFeedOnPage,   ///< a web page that links to no feed
  kSeveralFeeds,   ///< a web page that links to several: they are `offered`, none was taken
  kStopped,        ///< the download was stopped (DownloadStopScope)
};

/// The feed found at an address, or why there is none.
struct FeedLookup {
  FeedLookupResult result = FeedLookupResult::kNotDownloaded;
  std::string url;                      ///< the address looked at last: the feed's when a page led to it
  std::string title;                    ///< kFeed: the feed's title; empty when it has none
  std::string failure;                  ///< kNotDownloaded: why, in the downloader's words
  bool needsLogin = false;              ///< kNotDownloaded: the server asked for a login (401)
  std::vector<feed::FeedLink> offered;  ///< kSeveralFeeds: the page's feeds, in page order
};

/// Downloads `url` into `scratchPath` (removed afterwards) and reads it as a feed: its title is
/// the root's "title" child (Atom), else the "title" of the root's first child (RSS). Nothing
/// is looked for on a web page. Shows nothing; blocks, within the download's limits and until the
/// stop of a DownloadStopScope around it.
FeedLookup ReadFeed(const std::string& url, const std::string& scratchPath);

/// As ReadFeed, but when `url` is a web page its feeds are looked for: the one feed of a page is
/// downloaded and read in turn, several are offered and none is taken.
FeedLookup LookUpFeed(const std::string& url, const std::string& scratchPath);

}  // namespace tarnwick::ui
