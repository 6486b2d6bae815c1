#include "ui/feed_properties.h"

#include "feed/download_stop_scope.h"
#include "platform/text.h"
#include "store/file_utilities.h"
#include "store/fitting_text.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "ui/display_text.h"
#include "ui/feed_properties_texts.h"

#include <algorithm>
#include <charconv>

namespace tarnwick::ui {
namespace {

// Mailboxes of the host's own that cannot be a newsbox: the staging mailbox and the outbox.
constexpr char kPendingMailbox[] = "Pending";
constexpr char kOutMailbox[] = "Out";

// The number edits take digits only; what does not read as a number in range counts as 0.
int32_t NumberFrom(const std::string& text) {
  const std::string trimmed = platform::TrimBlanks(text);
  int32_t value = 0;
  const char* first = trimmed.data();
  if (!trimmed.empty() && trimmed.front() == '+') ++first;
  const auto [end, error] = std::from_chars(first, trimmed.data() + trimmed.size(), value);
  return error == std::errc() && end == trimmed.data() + trimmed.size() ? value : 0;
}

}  // namespace

FeedLookup FeedProperties::Download(const std::function<FeedLookup()>& lookUp) {
  stop_ = std::stop_source();
  downloading_ = true;
  view_.ShowDownloading(true);
  FeedLookup found;
  {
    const feed::DownloadStopScope stoppable(stop_.get_token());
    found = lookUp();
  }
  downloading_ = false;
  view_.ShowDownloading(false);
  return found;
}

FeedProperties::Lookup FeedProperties::LookUpFeed(std::string& failure) {
  if (values_.url.empty()) return Lookup::kFailed;
  FeedLookup found = Download([this] { return ui::LookUpFeed(values_.url, context_.scratchFeedPath); });
  if (found.result == FeedLookupResult::kSeveralFeeds) {
    const std::optional<size_t> chosen = view_.ChooseFeed(found.offered);
    if (!chosen || *chosen >= found.offered.size()) return Lookup::kDeclined;
    const std::string url = found.offered[*chosen].url;
    found = Download([this, &url] { return ReadFeed(url, context_.scratchFeedPath); });
  }
  if (found.result == FeedLookupResult::kStopped) return Lookup::kStopped;
  if (found.url != values_.url) {  // the feed a page led to becomes the feed's address
    values_.url = found.url;
    view_.ShowUrl(values_.url);
  }
  switch (found.result) {
    case FeedLookupResult::kFeed:
      if (!found.title.empty()) values_.name = found.title;
      return Lookup::kFeed;
    case FeedLookupResult::kNoFeedOnPage:
      view_.ShowRefusal(kNoFeedOnPage + values_.url);
      return Lookup::kNoFeedOnPage;
    case FeedLookupResult::kNotDownloaded:
      failure = found.failure;
      return Lookup::kNotDownloaded;
    default:
      return Lookup::kFailed;
  }
}

FeedProperties::FeedProperties(FeedDialogContext context, FeedPropertiesView& view)
    : context_(std::move(context)), view_(view) {}

void FeedProperties::OpenNew() {
  mode_ = FeedPropertiesMode::kNew;
  values_ = store::FeedSettings{};
  values_.downloadReferringArticles = 0;
  values_.downloadOnlyNewArticles = 1;
  values_.autoCheck = 0;
  values_.intervalMinutes = kNewFeedIntervalMinutes;
  opened_ = values_;
  lastArticle_.clear();
  firstCheckArticles_ = 0;
  aliasEntries_.clear();
  (void)store::SettingsStore(context_.settingsPath).ReadSectionEntries(aliasEntries_, store::kAliasesSection);
}

void FeedProperties::OpenEdit(const store::FeedSettings& feed) {
  mode_ = FeedPropertiesMode::kEdit;
  values_ = feed;
  opened_ = feed;
  const store::SettingsStore settings(context_.settingsPath);
  lastArticle_ = settings.ReadText(feed.alias, store::kLastArticleKey, store::kDefaultLastArticle);
  firstCheckArticles_ =
      FirstCheckEnabled() ? std::max(0, settings.ReadInt(feed.alias, store::kFirstCheckArticlesKey, 0)) : 0;
  aliasEntries_.clear();
  (void)settings.ReadSectionEntries(aliasEntries_, store::kAliasesSection);
}

std::string FeedProperties::NewsboxButtonText() const {
  return store::FileExists(values_.newsboxPath) ? values_.newsbox : kNoNewsboxSelected;
}

std::string FeedProperties::NameLabel() const {
  if (mode_ != FeedPropertiesMode::kEdit) return {};
  std::string name = FirstCharacters(values_.name, kNameLabelCharacters);
  if (LongerThan(values_.name, kNameLabelCharacters)) name += kNameLabelCut;
  return kNameLabelOpen + name + kNameLabelClose;
}

int FeedProperties::StatusIcon() const {
  const size_t index = (values_.downloadReferringArticles != 0 ? 4 : 0) +
                       (values_.downloadOnlyNewArticles != 0 ? 2 : 0) + (values_.autoCheck != 0 ? 1 : 0);
  return kFeedStatusIcons[index];
}

void FeedProperties::SetFirstCheckArticles(const std::string& text) {
  firstCheckArticles_ = std::max(0, NumberFrom(text));
}

void FeedProperties::SetNewsbox(const std::string& path, const std::string& name) {
  values_.newsboxPath = path;
  values_.newsbox = name;
}

bool FeedProperties::InputValid() {
  // Empty input is refused before anything is downloaded, so that it stays a silent refusal.
  if (values_.alias.empty() || values_.url.empty()) return false;
  if (values_.name.empty()) {
    std::string failure;
    const Lookup lookup = LookUpFeed(failure);
    if (lookup == Lookup::kNotDownloaded) {
      view_.ShowRefusal(platform::FillText(kFeedNotDownloadedText, {values_.url, failure}));
    }
    if (lookup != Lookup::kFeed) return false;
  }
  if (!store::FileExists(values_.newsboxPath)) return false;
  return !platform::EqualsIgnoreCase(values_.newsbox, kPendingMailbox) &&
         !platform::EqualsIgnoreCase(values_.newsbox, kOutMailbox);
}

FeedProperties::OkResult FeedProperties::Ok(const std::string& alias, const std::string& url,
                                            const std::string& intervalText) {
  values_.alias = alias;
  values_.url = url;
  if (!InputValid()) return OkResult::kRefused;
  view_.EnableInputs(false);
  OkResult result = OkResult::kSaved;
  values_.name = store::FittingName(values_.alias, values_.name);  // a feed's title may be longer than the file keeps
  if (const store::AliasCheck check = store::CheckFeedStorable(values_); !check.storable) {
    view_.ShowRefusal(check.message);
    result = OkResult::kNotStored;
  } else if (IsDuplicate()) {
    view_.ShowInfo(InfoAboutFeed(FeedInfoMode::kDuplicateAlias));
    result = OkResult::kDuplicate;
  } else {
    values_.intervalMinutes = NumberFrom(intervalText);
    if (values_.intervalMinutes < 1) values_.autoCheck = 0;
    if (!Save()) {
      view_.ShowRefusal(kFeedNotSavedText + context_.settingsPath);
      result = OkResult::kNotStored;
    }
  }
  view_.EnableInputs(true);
  return result;
}

bool FeedProperties::IsDuplicate() const {
  // The edited feed is still in the file: its own alias is no duplicate.
  std::vector<std::string> others;
  for (const std::string& entry : aliasEntries_) {
    const std::string entryAlias = entry.substr(0, entry.find('='));
    if (mode_ == FeedPropertiesMode::kEdit && platform::EqualsIgnoreCase(entryAlias, opened_.alias)) continue;
    others.push_back(entry);
  }
  return store::AliasExists(others, values_.alias);
}

bool FeedProperties::Save() {
  // The section is rebuilt from the keys the dialog writes alone, as for a new feed, and all of it
  // goes in one write: a failure leaves the feed as it was, never half written or gone.
  std::vector<platform::IniChange> changes = store::FeedChanges(values_, lastArticle_);
  if (FirstCheckEnabled() && firstCheckArticles_ > 0) {
    changes.push_back({values_.alias, store::kFirstCheckArticlesKey, std::to_string(firstCheckArticles_)});
  }
  std::vector<std::string> replaced;
  if (mode_ == FeedPropertiesMode::kEdit) {
    replaced.push_back(opened_.alias);
    // Under the same alias its "Aliases" line is rewritten in place, taking a change of letter
    // case with it; under a new one the old line goes.
    if (!platform::EqualsIgnoreCase(values_.alias, opened_.alias)) {
      changes.push_back({store::kAliasesSection, opened_.alias, std::nullopt});
    }
  }
  if (!store::SettingsStore(context_.settingsPath).RewriteSections(replaced, changes)) return false;
  values_.notifyNewsBoard = 1;  // the rewritten section has no "NotifyNewsBoard": it reads as 1
  return true;
}

void FeedProperties::Validate(const std::string& alias, const std::string& url) {
  values_.alias = alias;
  values_.url = url;
  view_.EnableInputs(false);
  FeedInfo info = InfoAboutFeed(FeedInfoMode::kValidFeed);
  std::string failure;
  const Lookup lookup = LookUpFeed(failure);
  // A page without feeds was explained already; a declined choice and a stop need no answer.
  if (lookup == Lookup::kFeed || lookup == Lookup::kFailed || lookup == Lookup::kNotDownloaded) {
    info.url = values_.url;
    if (lookup != Lookup::kFeed) {
      info.mode = FeedInfoMode::kCheckResult;
      info.lastResult = -1;
      info.errorText = failure;
    }
    view_.ShowInfo(info);
  }
  view_.EnableInputs(true);
}

FeedInfo FeedProperties::InfoAboutFeed(FeedInfoMode mode) const {
  FeedInfo info;
  info.mode = mode;
  info.productName = context_.productName;
  info.name = values_.name;
  info.url = values_.url;
  info.mailbox = values_.newsbox;
  info.feedsDone = 1;
  return info;
}

}  // namespace tarnwick::ui
