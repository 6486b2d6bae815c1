#include "opml/listed_feeds.h"

namespace tarnwick::opml {
namespace {

class FeedCollector : public store::FeedListSink {
public:
  void AddFeed(const store::FeedSettings& feed) override { feeds.push_back(feed); }
  void AddNewsbox(const std::string&, const std::string&) override {}
  std::vector<store::FeedSettings> feeds;
};

}  // namespace

std::vector<store::FeedSettings> ListedFeeds(const store::SettingsStore& settings) {
  FeedCollector collector;
  settings.LoadFeedList(collector);
  return std::move(collector.feeds);
}

}  // namespace tarnwick::opml
