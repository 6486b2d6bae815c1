#include "feed/feed_discovery.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <memory>
#include <unordered_set>

#include "feed/xml_document.h"
#include "feed/xml_references.h"
#include "platform/text.h"

namespace tarnwick::feed {
namespace {

constexpr std::array<std::string_view, 3> kFeedTypes = {"application/rss+xml", "application/atom+xml",
                                                        "application/rdf+xml"};
constexpr std::array<std::string_view, 3> kFeedRoots = {"rss", "rdf", "feed"};
constexpr std::string_view kWhiteSpace = " \t\r\n\f";

using Attributes = std::map<std::string, std::string>;

bool IsFeedDocument(std::string_view text) {
  XmlDocument document;
  if (!document.ParseText(std::string(text)) || !document.FindElement()) return false;
  std::string name = platform::ToLowerAscii(document.TagName());
  name.erase(0, name.find(':') + 1);  // the local name, whatever the prefix
  return std::find(kFeedRoots.begin(), kFeedRoots.end(), name) != kFeedRoots.end();
}

// Reads the attributes of the tag whose name ends at `at`, up to its ">", and moves `at` past
// it. Names are lower case; values have their references decoded.
Attributes ReadAttributes(std::string_view text, size_t& at) {
  Attributes attributes;
  while (at < text.size() && text[at] != '>') {
    if (kWhiteSpace.find(text[at]) != std::string_view::npos || text[at] == '/') {
      ++at;
      continue;
    }
    const size_t nameStart = at;
    while (at < text.size() && kWhiteSpace.find(text[at]) == std::string_view::npos && text[at] != '=' &&
           text[at] != '>' && text[at] != '/') {
      ++at;
    }
    std::string name = platform::ToLowerAscii(text.substr(nameStart, at - nameStart));
    while (at < text.size() && kWhiteSpace.find(text[at]) != std::string_view::npos) ++at;
    std::string value;
    if (at < text.size() && text[at] == '=') {
      ++at;
      while (at < text.size() && kWhiteSpace.find(text[at]) != std::string_view::npos) ++at;
      size_t valueStart = at;
      size_t valueEnd = at;
      if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        valueStart = at + 1;
        valueEnd = std::min(text.find(text[at], valueStart), text.size());
        at = std::min(valueEnd + 1, text.size());
      } else {
        while (at < text.size() && kWhiteSpace.find(text[at]) == std::string_view::npos && text[at] != '>') ++at;
        valueEnd = at;
      }
      value = UnescapeText(text.substr(valueStart, valueEnd - valueStart));
    }
    attributes.emplace(std::move(name), std::move(value));  // the first of a repeated name counts
  }
  if (at < text.size()) ++at;
  return attributes;
}

bool HasWord(const std::string& words, std::string_view word) {
  const std::string lower = platform::ToLowerAscii(words);
  size_t at = 0;
  while ((at = lower.find_first_not_of(kWhiteSpace, at)) != std::string::npos) {
    const size_t end = std::min(lower.find_first_of(kWhiteSpace, at), lower.size());
    if (std::string_view(lower).substr(at, end - at) == word) return true;
    at = end;
  }
  return false;
}

bool IsFeedType(const std::string& type) {
  // A type may carry parameters ("application/rss+xml; charset=utf-8").
  const std::string bare = platform::ToLowerAscii(platform::TrimWhiteSpace(type.substr(0, type.find(';'))));
  return std::find(kFeedTypes.begin(), kFeedTypes.end(), bare) != kFeedTypes.end();
}

bool IsFeedLink(const Attributes& link) {
  auto rel = link.find("rel");
  auto type = link.find("type");
  auto href = link.find("href");
  return rel != link.end() && HasWord(rel->second, "alternate") && type != link.end() && IsFeedType(type->second) &&
         href != link.end() && !platform::TrimWhiteSpace(href->second).empty();
}

// The end of the element's text that starts at `at` and closes with `</name`; the text's end
// when it never closes. Scripts and styles may hold anything that looks like a tag. Only the
// bytes up to the close are looked at, so a page of many scripts is read in linear time.
size_t EndOfRawText(std::string_view text, size_t at, std::string_view name) {
  for (size_t close = text.find("</", at); close != std::string_view::npos; close = text.find("</", close + 2)) {
    if (platform::EqualsIgnoreCase(text.substr(close + 2, name.size()), name)) return close;
  }
  return text.size();
}

struct PageLinks {
  bool isPage = false;
  std::vector<Attributes> feeds;
  std::string base;
  bool hasBase = false;
};

PageLinks ReadPageLinks(std::string_view text) {
  PageLinks page;
  size_t at = 0;
  while ((at = text.find('<', at)) != std::string_view::npos) {
    if (text.substr(at, 4) == "<!--") {
      const size_t end = text.find("-->", at + 4);
      at = end == std::string_view::npos ? text.size() : end + 3;
      continue;
    }
    size_t nameEnd = ++at;
    while (nameEnd < text.size() && std::isalnum(static_cast<unsigned char>(text[nameEnd]))) ++nameEnd;
    const std::string name = platform::ToLowerAscii(text.substr(at, nameEnd - at));
    at = nameEnd;
    if (name == "html") page.isPage = true;
    if (name != "link" && name != "base" && name != "script" && name != "style") continue;
    Attributes attributes = ReadAttributes(text, at);
    if (name == "script" || name == "style") {
      at = EndOfRawText(text, at, name);
    } else if (name == "link" && IsFeedLink(attributes)) {
      page.feeds.push_back(std::move(attributes));
    } else if (name == "base" && !page.hasBase && attributes.count("href") != 0) {
      page.base = platform::TrimWhiteSpace(attributes["href"]);
      page.hasBase = true;
    }
  }
  return page;
}

bool IsWebAddress(const std::string& url) {
  return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

}  // namespace

std::string ResolveUrl(const std::string& base, const std::string& reference) {
  std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, base.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) return {};
  // Set on a handle that holds an address, a relative one is resolved against it.
  if (curl_url_set(url.get(), CURLUPART_URL, reference.c_str(), CURLU_NON_SUPPORT_SCHEME | CURLU_URLENCODE) !=
      CURLUE_OK) {
    return {};
  }
  char* text = nullptr;
  if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK) return {};
  std::string resolved = text;
  curl_free(text);
  return resolved;
}

Discovery DiscoverFeeds(std::string_view document, const std::string& pageUrl) {
  Discovery discovery;
  if (IsFeedDocument(document)) {
    discovery.isFeed = true;
    return discovery;
  }
  const PageLinks page = ReadPageLinks(document);
  discovery.isPage = page.isPage;
  const std::string base = page.hasBase ? ResolveUrl(pageUrl, page.base) : pageUrl;
  std::unordered_set<std::string> known;
  for (const Attributes& link : page.feeds) {
    const std::string url = ResolveUrl(base.empty() ? pageUrl : base, platform::TrimWhiteSpace(link.at("href")));
    // An address read from a page is fetched over the web only, never from a local file.
    if (!IsWebAddress(url) || !known.insert(url).second) continue;
    auto title = link.find("title");
    discovery.feeds.push_back({url, title == link.end() ? std::string() : platform::TrimWhiteSpace(title->second)});
  }
  return discovery;
}

}  // namespace tarnwick::feed
