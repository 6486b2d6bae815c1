#include "ui/feed_lookup.h"

#include "check/check_texts.h"
#include "feed/download.h"
#include "feed/download_size_limit.h"
#include "feed/xml_document.h"
#include "feed/xml_encoding.h"
#include "mailbox/page_text.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

#include <optional>

namespace tarnwick::ui {
namespace {

constexpr char kTitleElement[] = "title";

// A downloaded document: its text and the address it came from after redirects; or, when
// `failed` is set, what kept it from being read (with the downloader's reason).
struct Downloaded {
  std::string text;
  std::string finalUrl;
  std::optional<FeedLookupResult> failed;
  std::string reason;
  bool needsLogin = false;
};

// No pause and no message box: the caller tells the user what came of it, once.
Downloaded Download(const std::string& url, const std::string& scratchPath) {
  feed::RemoveBeforeFetch(scratchPath);
  const feed::FetchResult fetched = feed::FetchDocument(url, scratchPath, feed::UrlOrigin::kTypedByUser, {});
  Downloaded document;
  document.finalUrl = fetched.answer.finalUrl.empty() ? url : fetched.answer.finalUrl;
  document.text = mailbox::ReadPageText(scratchPath);
  (void)platform::RemoveFile(scratchPath);
  if (fetched.stopped) {
    document.failed = FeedLookupResult::kStopped;
  } else if (!fetched.errorText.empty()) {
    document.failed = FeedLookupResult::kNotDownloaded;
    // A server that asks for a login has a feed there: the address is right, the login missing.
    document.needsLogin = fetched.answer.status == feed::kUnauthorizedStatus;
    document.reason = document.needsLogin ? check::kNeedsLogin : fetched.errorText;
  } else if (document.text == mailbox::kUnreadablePage) {
    document.failed = FeedLookupResult::kNotAFeed;
  }
  return document;
}

// The title of a feed document into `title` (left alone when there is none); false when the
// text is not well-formed XML.
bool ReadTitle(std::string text, std::string& title) {
  // What the page reader left as it was (a document naming its encoding only in its XML
  // declaration) is read in the encoding it declares.
  if (!platform::ConvertToUtf8(text, "UTF-8")) text = feed::XmlDocumentAsUtf8(std::move(text));
  feed::XmlDocument document;
  if (!document.ParseText(std::move(text))) return false;
  (void)document.FindElement();
  (void)document.EnterElement();
  if (document.FindElement(kTitleElement)) {
    title = document.ElementText();
  } else if (document.FindChildElement(kTitleElement)) {
    title = document.ChildText();
  }
  return true;
}

FeedLookup AsFeed(const std::string& url, Downloaded document) {
  FeedLookup found;
  found.url = url;
  found.result =
      ReadTitle(std::move(document.text), found.title) ? FeedLookupResult::kFeed : FeedLookupResult::kNotAFeed;
  return found;
}

FeedLookup Failed(const std::string& url, Downloaded document) {
  FeedLookup found;
  found.url = url;
  found.result = *document.failed;
  found.failure = std::move(document.reason);
  found.needsLogin = document.needsLogin;
  return found;
}

}  // namespace

FeedLookup ReadFeed(const std::string& url, const std::string& scratchPath) {
  Downloaded document = Download(url, scratchPath);
  if (document.failed) return Failed(url, std::move(document));
  return AsFeed(url, std::move(document));
}

FeedLookup LookUpFeed(const std::string& url, const std::string& scratchPath) {
  Downloaded document;
  {
    // What is looked up may be a web page, whose feed links are all that is read of it.
    const feed::DownloadSizeLimit pageLimit(feed::kMaxDiscoveryPageBytes);
    document = Download(url, scratchPath);
  }
  if (document.failed) return Failed(url, std::move(document));
  const feed::Discovery discovery = feed::DiscoverFeeds(document.text, document.finalUrl);
  if (discovery.isFeed || (!discovery.isPage && discovery.feeds.empty())) return AsFeed(url, std::move(document));
  if (discovery.feeds.size() == 1) return ReadFeed(discovery.feeds.front().url, scratchPath);
  FeedLookup found;
  found.url = url;
  found.result = discovery.feeds.empty() ? FeedLookupResult::kNoFeedOnPage : FeedLookupResult::kSeveralFeeds;
  found.offered = discovery.feeds;
  return found;
}

}  // namespace tarnwick::ui
