#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::store {

/// One feed's configuration as the main window lists it and a check uses it. The bookkeeping
/// dates "LastArticle" and "LastCheck" are not part of it: they are read where they are needed.
struct FeedSettings {
  std::string alias;  // the feed's identity: its section name and, made safe, its cache file name
  std::string name;   // the feed's title
  std::string url;
  std::string newsbox;      // display name of the host mailbox that receives the articles
  std::string newsboxPath;  // full path of that mailbox's .mbx file
  int32_t downloadReferringArticles = 0;
  int32_t downloadOnlyNewArticles = 1;
  int32_t autoCheck = 0;
  int32_t intervalMinutes = 0;
  int32_t notifyNewsBoard = 1;

  bool operator==(const FeedSettings&) const = default;
};

}  // namespace tarnwick::store
