#include "ui/main_window_model.h"

#include "check/feed_health.h"
#include "mailbox/toc_reader.h"
#include "platform/date_format.h"
#include "platform/text.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "ui/main_window_texts.h"

#include <algorithm>

namespace tarnwick::ui {
namespace {

constexpr int kFullArticlesBit = 1;
constexpr int kOnlyNewArticlesBit = 2;
constexpr int kAutoCheckBit = 4;

// Hands what the settings file lists to the model.
class ListLoader : public store::FeedListSink {
public:
  explicit ListLoader(MainWindowModel& model) : model_(model) {}
  void AddFeed(const store::FeedSettings& feed) override { model_.AddFeed(feed); }
  void AddNewsbox(const std::string& newsboxPath, const std::string& newsboxName) override {
    model_.AddNewsbox(newsboxName, newsboxPath);
  }

private:
  MainWindowModel& model_;
};

bool ComesBefore(const std::string& a, const std::string& b) {
  return platform::ToLowerAscii(a) < platform::ToLowerAscii(b);
}

std::string TocPathOf(const std::string& mailboxPath) {
  return mailboxPath.substr(0, mailboxPath.size() - std::min<size_t>(3, mailboxPath.size())) + "toc";
}

}  // namespace

int FeedImageOf(const store::FeedSettings& feed) {
  return (feed.downloadReferringArticles != 0 ? kFullArticlesBit : 0) |
         (feed.downloadOnlyNewArticles != 0 ? kOnlyNewArticlesBit : 0) | (feed.autoCheck != 0 ? kAutoCheckBit : 0);
}

std::string NewsboxRow::Text() const {
  return name + " (" + std::to_string(unread) + "/" + std::to_string(total) + ")";
}

int NewsboxRow::Image() const {
  if (total < 1) return kEmptyNewsboxImage;
  return unread < 1 ? kAllReadNewsboxImage : kUnreadNewsboxImage;
}

MainWindowModel::MainWindowModel(std::string settingsPath, const platform::Clock& clock)
    : settings_(std::move(settingsPath)), clock_(clock) {}

const platform::Clock& MainWindowModel::SystemTime() {
  static const platform::SystemClock clock;
  return clock;
}

int MainWindowModel::FeedImage(size_t index) const {
  if (index >= feeds_.size()) return 0;
  const check::FeedState state = check::ReadFeedState(settings_, feeds_[index].alias);
  return check::HealthOf(state, clock_.Now()) == check::FeedHealth::kFailing ? kFailingFeedImage
                                                                             : FeedImageOf(feeds_[index]);
}

std::string MainWindowModel::InformationText(const std::string& alias) const {
  const check::FeedState state = check::ReadFeedState(settings_, alias);
  const std::string lastArticle = settings_.ReadText(alias, store::kLastArticleKey, std::string());
  switch (check::HealthOf(state, clock_.Now())) {
    case check::FeedHealth::kFailing:
      return alias + kFailingInfix + std::to_string(state.failuresInARow) +
             (state.failuresInARow == 1 ? kFailureInARowSuffix : kFailuresInARowSuffix) + "\n" + state.lastProblem;
    case check::FeedHealth::kQuiet:
      return alias + kLastArticleInfix + "\n" + lastArticle + kQuietSuffix;
    case check::FeedHealth::kHealthy:
      break;
  }
  return alias + kLastArticleInfix + "\n" + lastArticle;
}

void MainWindowModel::Load() {
  ListLoader loader(*this);
  settings_.LoadFeedList(loader);
}

size_t MainWindowModel::AddFeed(const store::FeedSettings& feed) {
  auto place = std::upper_bound(feeds_.begin(), feeds_.end(), feed,
                                [](const auto& a, const auto& b) { return ComesBefore(a.alias, b.alias); });
  return static_cast<size_t>(feeds_.insert(place, feed) - feeds_.begin());
}

std::optional<size_t> MainWindowModel::UpdateFeed(const std::string& oldAlias, const store::FeedSettings& feed) {
  auto listed = std::find_if(feeds_.begin(), feeds_.end(),
                             [&](const auto& item) { return platform::EqualsIgnoreCase(item.alias, oldAlias); });
  if (listed == feeds_.end()) return std::nullopt;
  feeds_.erase(listed);
  return AddFeed(feed);
}

bool MainWindowModel::DeleteFeed(size_t index) {
  if (index >= feeds_.size()) return false;
  const std::string alias = feeds_[index].alias;
  feeds_.erase(feeds_.begin() + static_cast<std::ptrdiff_t>(index));
  settings_.RemoveFeed(alias);
  return true;
}

bool MainWindowModel::AddNewsbox(const std::string& name, const std::string& mailboxPath) {
  auto samePath = [&](const NewsboxRow& row) { return platform::EqualsIgnoreCase(row.mailboxPath, mailboxPath); };
  if (std::any_of(newsboxes_.begin(), newsboxes_.end(), samePath) || !store::FileExists(mailboxPath)) return false;
  NewsboxRow row{name, mailboxPath, TocPathOf(mailboxPath)};
  row.total = mailbox::TocMessageCount(row.tocPath);
  row.unread = mailbox::TocUnreadCount(row.tocPath);
  auto place = std::upper_bound(newsboxes_.begin(), newsboxes_.end(), row,
                                [](const auto& a, const auto& b) { return ComesBefore(a.name, b.name); });
  newsboxes_.insert(place, std::move(row));
  return true;
}

std::string MainWindowModel::NewsboxNameOf(const std::string& alias) const {
  return settings_.ReadText(alias, store::kNewsboxKey, store::SafeFileName(alias));
}

FeedSelectionState MainWindowModel::SelectFeeds(const std::vector<size_t>& selected) const {
  FeedSelectionState state;
  state.downloadEnabled = !selected.empty();
  if (selected.size() != 1 || selected.front() >= feeds_.size()) return state;

  const std::string& alias = feeds_[selected.front()].alias;
  const std::string newsbox = NewsboxNameOf(alias);
  auto row = std::find_if(newsboxes_.begin(), newsboxes_.end(),
                          [&](const NewsboxRow& item) { return platform::EqualsIgnoreCase(item.name, newsbox); });
  if (row != newsboxes_.end()) state.newsbox = static_cast<size_t>(row - newsboxes_.begin());
  state.editAndDeleteEnabled = true;
  state.clockRuns = false;
  state.informationText = InformationText(alias);
  return state;
}

std::vector<size_t> MainWindowModel::FeedsOfNewsbox(size_t newsbox) const {
  std::vector<size_t> feeds;
  if (newsbox >= newsboxes_.size()) return feeds;
  for (size_t index = 0; index < feeds_.size(); ++index) {
    if (platform::EqualsIgnoreCase(NewsboxNameOf(feeds_[index].alias), newsboxes_[newsbox].name)) {
      feeds.push_back(index);
    }
  }
  return feeds;
}

std::string MainWindowModel::ClockText(const platform::DateTime& now) {
  return std::string(kCurrentTimePrefix) + "\n" + platform::FormatDate(now, kClockPattern);
}

bool MainWindowModel::IsFirstStart() const {
  return !store::FileExists(settings_.Path());
}

std::pair<int, int> MainWindowModel::SavedPosition() const {
  return {settings_.ReadInt(store::kWindowsSection, kPositionLeftKey, 0),
          settings_.ReadInt(store::kWindowsSection, kPositionTopKey, 0)};
}

void MainWindowModel::SavePosition(int left, int top) const {
  settings_.WriteInt(store::kWindowsSection, kPositionLeftKey, left);
  settings_.WriteInt(store::kWindowsSection, kPositionTopKey, top);
}

std::optional<FeedInfo> RunReportInfo(const check::RunReport& report, const std::string& productName) {
  if (report.lastResult < -1) return std::nullopt;
  FeedInfo info;
  info.mode = FeedInfoMode::kCheckResult;
  info.productName = productName;
  info.name = report.lastFeedName;
  info.url = report.lastFeedUrl;
  info.mailbox = report.lastFeedNewsbox;
  info.feedsDone = report.feedsDone;
  info.lastResult = report.lastResult;
  info.totalNew = report.newArticles;
  info.stopped = report.stopped;
  info.stoppedInFeed = !report.stoppedFeed.empty();
  return info;
}

}  // namespace tarnwick::ui
