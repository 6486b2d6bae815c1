#include "ui/feed_properties.h"

#include "feed/download.h"
#include "feed/xml_document.h"
#include "feed/xml_encoding.h"
#include "mailbox/page_text.h"
#include "platform/text.h"
#include "platform/text_encoding.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "ui/display_text.h"
#include "ui/feed_properties_texts.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tarnwick::ui {
namespace {

constexpr char kTitleElement[] = "title";
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

// Takes the title of a feed document: the root's "title" child (Atom), else the "title" of the
// root's first child (RSS); `name` stays as it was when there is neither. False when the text is
// not well-formed XML.
bool ReadFeedTitle(std::string text, std::string& name) {
  // What the page reader left as it was (a document naming its encoding only in its XML
  // declaration) is read in the encoding it declares.
  if (!platform::ConvertToUtf8(text, "UTF-8")) text = feed::XmlDocumentAsUtf8(std::move(text));
  feed::XmlDocument document;
  if (!document.ParseText(std::move(text))) return false;
  (void)document.FindElement();
  (void)document.EnterElement();
  if (document.FindElement(kTitleElement)) {
    name = document.ElementText();
  } else if (document.FindChildElement(kTitleElement)) {
    name = document.ChildText();
  }
  return true;
}

}  // namespace

std::string FetchDocumentText(const std::string& url, const std::string& scratchPath, std::string& finalUrl) {
  const feed::FetchResult fetched = feed::FreshFetch(url, scratchPath, feed::UrlOrigin::kTypedByUser);
  finalUrl = fetched.answer.finalUrl.empty() ? url : fetched.answer.finalUrl;
  std::string text = mailbox::ReadPageText(scratchPath);
  std::remove(scratchPath.c_str());
  return text;
}

bool FetchFeedTitle(const std::string& url, const std::string& scratchPath, std::string& name) {
  if (url.empty()) return false;
  std::string finalUrl;
  std::string text = FetchDocumentText(url, scratchPath, finalUrl);
  return text != mailbox::kUnreadablePage && ReadFeedTitle(std::move(text), name);
}

FeedProperties::Lookup FeedProperties::LookUpFeed() {
  if (values_.url.empty()) return Lookup::kFailed;
  std::string pageUrl;
  std::string text = FetchDocumentText(values_.url, context_.scratchFeedPath, pageUrl);
  if (text == mailbox::kUnreadablePage) return Lookup::kFailed;
  const feed::Discovery discovery = feed::DiscoverFeeds(text, pageUrl);
  if (discovery.isFeed || (!discovery.isPage && discovery.feeds.empty())) {
    return ReadFeedTitle(std::move(text), values_.name) ? Lookup::kFeed : Lookup::kFailed;
  }
  if (discovery.feeds.empty()) {
    view_.ShowRefusal(kNoFeedOnPage + values_.url);
    return Lookup::kNoFeedOnPage;
  }
  std::optional<size_t> chosen = 0;
  if (discovery.feeds.size() > 1) chosen = view_.ChooseFeed(discovery.feeds);
  if (!chosen || *chosen >= discovery.feeds.size()) return Lookup::kDeclined;
  values_.url = discovery.feeds[*chosen].url;
  view_.ShowUrl(values_.url);
  return FetchFeedTitle(values_.url, context_.scratchFeedPath, values_.name) ? Lookup::kFeed : Lookup::kFailed;
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
  if (values_.name.empty() && LookUpFeed() != Lookup::kFeed) return false;
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
  if (const store::AliasCheck check = store::CheckAliasStorable(values_.alias); !check.storable) {
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
  const store::SettingsStore settings(context_.settingsPath);
  // The section is rebuilt from the keys the dialog writes alone, as for a new feed. Under a new
  // alias the old feed goes only once the new one is written, so a failure never loses it.
  const bool sameAlias = mode_ == FeedPropertiesMode::kEdit && platform::EqualsIgnoreCase(values_.alias, opened_.alias);
  // Its "Aliases" line is rewritten in place, taking a change of letter case with it.
  if (sameAlias) (void)settings.DeleteSection(opened_.alias);
  if (!settings.WriteFeed(values_, lastArticle_)) return false;
  if (FirstCheckEnabled() && firstCheckArticles_ > 0 &&
      !settings.WriteInt(values_.alias, store::kFirstCheckArticlesKey, firstCheckArticles_)) {
    return false;
  }
  if (mode_ == FeedPropertiesMode::kEdit && !sameAlias) (void)settings.RemoveFeed(opened_.alias);
  values_.notifyNewsBoard = 1;  // the rewritten section has no "NotifyNewsBoard": it reads as 1
  return true;
}

void FeedProperties::Validate(const std::string& alias, const std::string& url) {
  values_.alias = alias;
  values_.url = url;
  view_.EnableInputs(false);
  FeedInfo info = InfoAboutFeed(FeedInfoMode::kValidFeed);
  const Lookup lookup = LookUpFeed();
  // A page without feeds was explained already, and a declined choice needs no answer.
  if (lookup == Lookup::kFeed || lookup == Lookup::kFailed) {
    info.url = values_.url;
    if (lookup == Lookup::kFailed) {
      info.mode = FeedInfoMode::kCheckResult;
      info.lastResult = -1;
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
