#include "store/listed_feeds.h"

namespace tarnwick::store {
namespace {

class FeedCollector : public FeedListSink {
public:
  void AddFeed(const FeedSettings& feed) override { feeds.push_back(feed); }
  void AddNewsbox(const std::string&, const std::string&) override {}
  std::vector<FeedSettings> feeds;
};

}  // namespace

std::vector<FeedSettings> ListedFeeds(const SettingsStore& settings) {
  FeedCollector collector;
  settings.LoadFeedList(collector);
  return std::move(collector.feeds);
}

}  // namespace tarnwick::store
