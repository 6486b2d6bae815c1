#include "feed/link_key.h"

#include "platform/text.h"

#include <algorithm>
#include <array>

namespace tarnwick::feed {
namespace {

// Query parameters that say where a reader came from, not which page it is.
constexpr std::array<std::string_view, 10> kTrackingParameters{"fbclid", "gclid",  "dclid",  "msclkid", "yclid",
                                                               "igshid", "mc_cid", "mc_eid", "_hsenc",  "_hsmi"};

bool IsTrackingParameter(std::string_view parameter) {
  const std::string name = platform::ToLowerAscii(parameter.substr(0, parameter.find('=')));
  if (name.starts_with("utm_")) return true;
  for (std::string_view tracking : kTrackingParameters) {
    if (name == tracking) return true;
  }
  return false;
}

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view TrimEnd(std::string_view text, std::string_view characters) {
  const size_t last = text.find_last_not_of(characters);
  return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

// The query without its tracking parameters and blank ones, with its "?" when anything is left.
// Parameters lose the white space at their ends first, so that a key normalised again finds the
// same parameters and stays as it is.
std::string CleanQuery(std::string_view query) {
  std::string kept;
  while (!query.empty()) {
    const size_t end = query.find('&');
    const std::string_view parameter = TrimEnd(query.substr(0, end), kWhiteSpace);
    if (!parameter.empty() && !IsTrackingParameter(parameter)) {
      kept += kept.empty() ? '?' : '&';
      kept += parameter;
    }
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  return kept;
}

// The host and port in lower case without white space around them, without the scheme's
// default port.
std::string CleanAuthority(std::string_view authority, const std::string& scheme) {
  std::string lower = platform::ToLowerAscii(platform::TrimWhiteSpace(authority));
  const std::string_view defaultPort = scheme == "http" ? ":80" : scheme == "https" ? ":443" : "";
  if (!defaultPort.empty() && lower.ends_with(defaultPort)) lower.resize(lower.size() - defaultPort.size());
  return std::string(TrimEnd(lower, kWhiteSpace));  // "host :80" leaves a blank behind
}

// Where the authority of `rest` starts and what the key begins with: http and https (and a link
// or key that starts with "//", the form of the key itself) give "//", other schemes their own
// "scheme://"; npos when the link has no authority.
size_t AuthorityStart(std::string_view rest, std::string& key, std::string& scheme) {
  if (rest.starts_with("//")) {
    key = "//";
    return 2;
  }
  const size_t schemeEnd = rest.find("://");
  if (schemeEnd == std::string_view::npos || rest.find_first_of("/?") < schemeEnd) return std::string_view::npos;
  scheme = platform::ToLowerAscii(rest.substr(0, schemeEnd));
  key = scheme == "http" || scheme == "https" ? "//" : scheme + "://";
  return schemeEnd + 3;
}

}  // namespace

std::string NormalizeLink(std::string_view link) {
  const std::string trimmed = platform::TrimWhiteSpace(link);
  const std::string withoutFragment = platform::TrimWhiteSpace(std::string_view(trimmed).substr(0, trimmed.find('#')));
  std::string_view rest = withoutFragment;
  if (rest.empty()) return {};

  std::string key;
  std::string scheme;
  if (const size_t authorityStart = AuthorityStart(rest, key, scheme); authorityStart != std::string_view::npos) {
    rest.remove_prefix(authorityStart);
    const size_t authorityEnd = rest.find_first_of("/?");
    key += CleanAuthority(rest.substr(0, authorityEnd), scheme);
    rest.remove_prefix(authorityEnd == std::string_view::npos ? rest.size() : authorityEnd);
  }
  const size_t queryStart = rest.find('?');
  // Trailing slashes (and blanks before them) name the same page however many there are.
  key += TrimEnd(rest.substr(0, queryStart), "/ \t\r\n\v\f");
  if (queryStart != std::string_view::npos) key += CleanQuery(rest.substr(queryStart + 1));
  return key;
}

std::string StripTrackingParameters(std::string_view link) {
  const size_t queryEnd = std::min(link.find('#'), link.size());
  const size_t queryStart = link.substr(0, queryEnd).find('?');
  if (queryStart == std::string_view::npos) return std::string(link);
  std::string stripped(link.substr(0, queryStart));
  std::string_view query = link.substr(queryStart + 1, queryEnd - queryStart - 1);
  bool first = true;
  while (true) {
    const size_t end = query.find('&');
    const std::string_view parameter = query.substr(0, end);
    if (!IsTrackingParameter(TrimEnd(parameter, kWhiteSpace))) {
      stripped += first ? '?' : '&';
      stripped += parameter;
      first = false;
    }
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  stripped += link.substr(queryEnd);
  return stripped;
}

void LinkGuard::Clear(DeliveredLinkSource source) {
  source_ = std::move(source);
  delivered_.clear();
  documentCounts_.clear();
}

void LinkGuard::ReadDeliveredLinks() {
  if (!source_) return;
  DeliveredLinkSource source = std::move(source_);
  source_ = nullptr;
  source(*this);
}

size_t LinkGuard::DeliveredLinkCount() {
  ReadDeliveredLinks();
  return delivered_.size();
}

void LinkGuard::AddDeliveredLink(std::string_view link) {
  std::string key = NormalizeLink(link);
  if (!key.empty()) delivered_.insert(std::move(key));
}

void LinkGuard::CountDocumentLink(std::string_view link) {
  std::string key = NormalizeLink(link);
  if (!key.empty()) ++documentCounts_[std::move(key)];
}

bool LinkGuard::AlreadyDelivered(std::string_view link) {
  const std::string key = NormalizeLink(link);
  if (key.empty()) return false;
  auto counted = documentCounts_.find(key);
  if (counted != documentCounts_.end() && counted->second >= 2) return false;
  ReadDeliveredLinks();
  return delivered_.contains(key);
}

}  // namespace tarnwick::feed
