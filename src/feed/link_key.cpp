#include "feed/link_key.h"

#include "platform/text.h"

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

// The query without its tracking parameters, with its "?" when anything is left.
std::string CleanQuery(std::string_view query) {
  std::string kept;
  while (!query.empty()) {
    const size_t end = query.find('&');
    const std::string_view parameter = query.substr(0, end);
    if (!parameter.empty() && !IsTrackingParameter(parameter)) {
      kept += kept.empty() ? '?' : '&';
      kept += parameter;
    }
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  return kept;
}

// The host and port in lower case, without the scheme's default port.
std::string CleanAuthority(std::string_view authority, const std::string& scheme) {
  std::string lower = platform::ToLowerAscii(authority);
  const std::string_view defaultPort = scheme == "http" ? ":80" : scheme == "https" ? ":443" : "";
  if (!defaultPort.empty() && lower.ends_with(defaultPort)) lower.resize(lower.size() - defaultPort.size());
  return lower;
}

}  // namespace

std::string NormalizeLink(std::string_view link) {
  const std::string trimmed = platform::TrimWhiteSpace(link);
  std::string_view rest = trimmed;
  rest = rest.substr(0, rest.find('#'));
  if (rest.empty()) return {};

  std::string key;
  std::string scheme;
  const size_t schemeEnd = rest.find("://");
  if (schemeEnd != std::string_view::npos && rest.find_first_of("/?") > schemeEnd) {
    scheme = platform::ToLowerAscii(rest.substr(0, schemeEnd));
    key = scheme == "http" || scheme == "https" ? "//" : scheme + "://";
    rest.remove_prefix(schemeEnd + 3);
    const size_t authorityEnd = rest.find_first_of("/?");
    key += CleanAuthority(rest.substr(0, authorityEnd), scheme);
    rest.remove_prefix(authorityEnd == std::string_view::npos ? rest.size() : authorityEnd);
  }
  const size_t queryStart = rest.find('?');
  std::string_view path = rest.substr(0, queryStart);
  if (path.ends_with('/')) path.remove_suffix(1);
  key += path;
  if (queryStart != std::string_view::npos) key += CleanQuery(rest.substr(queryStart + 1));
  return key;
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
