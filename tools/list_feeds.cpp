// tarnwick-feeds list: the feeds of a settings file as the main window would list them.
#include "feeds_verbs.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

#include <cstdio>
#include <string>

namespace {

class PrintingSink : public tarnwick::store::FeedListSink {
public:
  explicit PrintingSink(const tarnwick::store::SettingsStore& store) : store_(store) {}

  void AddFeed(const tarnwick::store::FeedSettings& feed) override {
    ++count_;
    std::printf("%-20s %s\n", feed.alias.c_str(), feed.name.c_str());
    std::printf("  URL:          %s\n", feed.url.c_str());
    std::printf("  Newsbox:      %s\n", feed.newsbox.c_str());
    std::printf("  Options:      full articles %s, only new %s, auto-check %s every %d minutes\n",
                YesNo(feed.downloadReferringArticles), YesNo(feed.downloadOnlyNewArticles), YesNo(feed.autoCheck),
                feed.intervalMinutes);
    std::string last =
        store_.ReadText(feed.alias, tarnwick::store::kLastArticleKey, tarnwick::store::kDefaultLastArticle);
    std::printf("  Last article: %s\n", last.c_str());
  }
  void AddNewsbox(const std::string&, const std::string&) override {}

  int Count() const { return count_; }

private:
  static const char* YesNo(int flag) { return flag != 0 ? "yes" : "no"; }

  const tarnwick::store::SettingsStore& store_;
  int count_ = 0;
};

}  // namespace

namespace tarnwick::tools {

int ListFeeds(const std::string& settingsPath) {
  store::SettingsStore store(settingsPath);
  PrintingSink sink(store);
  store.LoadFeedList(sink);
  std::printf("%d feed(s) in %s\n", sink.Count(), settingsPath.c_str());
  return kDone;
}

}  // namespace tarnwick::tools
