#include "mailbox/tracker_removal.h"

#include "feed/link_key.h"
#include "feed/xml_references.h"
#include "platform/file.h"
#include "platform/file_io.h"
#include "platform/text.h"

#include <cctype>

namespace tarnwick::mailbox {
namespace {

constexpr char kDefaultTrackingHosts[] =
    "# Pictures from these hosts (and the hosts under them) are left out of stored articles:\n"
    "# they are there to tell a server that a message was read. One host a line.\n"
    "pixel.wp.com\n"
    "stats.wordpress.com\n"
    "feeds.feedburner.com\n"
    "feedproxy.google.com\n"
    "google-analytics.com\n"
    "doubleclick.net\n"
    "pixel.quantserve.com\n"
    "scorecardresearch.com\n"
    "list-manage.com\n"
    "bat.bing.com\n"
    "ct.pinterest.com\n"
    "analytics.twitter.com\n";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct Attribute {
  std::string name;  // in lower case
  size_t start = 0;  // the value as written, its quotes included
  size_t end = 0;
  bool quoted = false;
};

struct StartTag {
  std::string name;  // in lower case
  size_t end = 0;    // one past its ">"
  std::vector<Attribute> attributes;
};

size_t SkipSpace(std::string_view html, size_t i) {
  while (i < html.size() && (IsSpace(html[i]) || html[i] == '/')) ++i;
  return i;
}

size_t ReadName(std::string_view html, size_t i, std::string& name) {
  const size_t start = i;
  while (i < html.size() && !IsSpace(html[i]) && html[i] != '/' && html[i] != '>' && (html[i] != '=' || i == start)) {
    ++i;
  }
  name = platform::ToLowerAscii(html.substr(start, i - start));
  return i;
}

// Reads the value after "=" into `attribute`; npos when a quote is never closed.
size_t ReadValue(std::string_view html, size_t i, Attribute& attribute) {
  attribute.start = i;
  if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
    const size_t close = html.find(html[i], i + 1);
    if (close == std::string_view::npos) return close;
    attribute.quoted = true;
    attribute.end = close + 1;
    return attribute.end;
  }
  while (i < html.size() && !IsSpace(html[i]) && html[i] != '>') ++i;
  attribute.end = i;
  return i;
}

// The start tag at `at` (a "<" followed by a letter); false when it never ends.
bool ReadStartTag(std::string_view html, size_t at, StartTag& tag) {
  size_t i = ReadName(html, at + 1, tag.name);
  while (true) {
    i = SkipSpace(html, i);
    if (i >= html.size()) return false;
    if (html[i] == '>') break;
    Attribute attribute;
    i = ReadName(html, i, attribute.name);
    size_t afterName = i;
    while (afterName < html.size() && IsSpace(html[afterName])) ++afterName;
    if (afterName < html.size() && html[afterName] == '=') {
      i = afterName + 1;
      while (i < html.size() && IsSpace(html[i])) ++i;
      i = ReadValue(html, i, attribute);
      if (i == std::string_view::npos) return false;
      tag.attributes.push_back(std::move(attribute));
    }
  }
  tag.end = i + 1;
  return true;
}

std::string ValueOf(std::string_view html, const Attribute& attribute) {
  std::string_view raw = html.substr(attribute.start, attribute.end - attribute.start);
  if (attribute.quoted) raw = raw.substr(1, raw.size() - 2);
  return platform::TrimWhiteSpace(feed::UnescapeText(raw));
}

const Attribute* Find(const StartTag& tag, std::string_view name) {
  for (const Attribute& attribute : tag.attributes) {
    if (attribute.name == name) return &attribute;
  }
  return nullptr;
}

// A declared width or height of 0 or 1 ("1", "1px", "0").
bool DeclaresAtMostOnePixel(std::string_view html, const StartTag& tag, std::string_view name) {
  const Attribute* attribute = Find(tag, name);
  if (attribute == nullptr) return false;
  std::string value = platform::ToLowerAscii(ValueOf(html, *attribute));
  if (value.ends_with("px")) value.resize(value.size() - 2);
  return value == "0" || value == "1";
}

// The host of an absolute http, https or scheme-relative address, in lower case; empty otherwise.
std::string HostOf(const std::string& address) {
  const std::string lower = platform::ToLowerAscii(address);
  size_t start = 0;
  if (lower.starts_with("http://"))
    start = 7;
  else if (lower.starts_with("https://"))
    start = 8;
  else if (lower.starts_with("//"))
    start = 2;
  else
    return {};
  std::string host = lower.substr(start, lower.find_first_of("/?#\\ \t\r\n\f\v", start) - start);
  if (const size_t at = host.rfind('@'); at != std::string::npos) host.erase(0, at + 1);
  if (const size_t colon = host.find(':'); colon != std::string::npos) host.resize(colon);
  while (!host.empty() && host.back() == '.') host.pop_back();
  return host;
}

bool IsTrackingPicture(std::string_view html, const StartTag& tag, const TrackingHosts& trackers) {
  if (tag.name != "img") return false;
  if (DeclaresAtMostOnePixel(html, tag, "width") && DeclaresAtMostOnePixel(html, tag, "height")) return true;
  const Attribute* source = Find(tag, "src");
  return source != nullptr && trackers.Contains(HostOf(ValueOf(html, *source)));
}

std::string QuotedAttributeValue(std::string_view value) {
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '&')
      quoted += "&amp;";
    else if (c == '"')
      quoted += "&quot;";
    else
      quoted += c;
  }
  return quoted + '"';
}

// The tag with its "href" and "src" addresses written without tracking parameters; an address
// that has none keeps its bytes.
void AppendWithoutTrackingParameters(std::string& out, std::string_view html, size_t at, const StartTag& tag) {
  size_t copied = at;
  for (const Attribute& attribute : tag.attributes) {
    if (attribute.name != "href" && attribute.name != "src") continue;
    const std::string address = ValueOf(html, attribute);
    const std::string stripped = feed::StripTrackingParameters(address);
    if (stripped == address) continue;
    out.append(html.substr(copied, attribute.start - copied));
    out += QuotedAttributeValue(stripped);
    copied = attribute.end;
  }
  out.append(html.substr(copied, tag.end - copied));
}

}  // namespace

TrackingHosts TrackingHosts::Parse(std::string_view text) {
  TrackingHosts list;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    line = line.substr(0, line.find('#'));
    std::string host = platform::ToLowerAscii(platform::TrimWhiteSpace(line));
    while (!host.empty() && host.back() == '.') host.pop_back();
    if (!host.empty()) list.hosts_.push_back(std::move(host));
    start = end + 1;
  }
  return list;
}

TrackingHosts TrackingHosts::ReadFrom(const std::string& folder) {
  if (folder.empty()) return Parse(kDefaultTrackingHosts);
  const std::string path = folder + "/" + kTrackingHostsFileName;
  std::string text;
  if (platform::ReadFileIfPresent(path, text)) return Parse(text);
  platform::File file = platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kCreateNew);
  if (file.IsOpen()) (void)(file.WriteAll(kDefaultTrackingHosts) && file.Close());
  return Parse(kDefaultTrackingHosts);
}

bool TrackingHosts::Contains(std::string_view host) const {
  if (host.empty()) return false;
  for (const std::string& listed : hosts_) {
    if (host == listed) return true;
    if (host.size() > listed.size() && host.ends_with(listed) && host[host.size() - listed.size() - 1] == '.') {
      return true;
    }
  }
  return false;
}

std::string RemoveTrackers(std::string_view html, const TrackingHosts& trackers) {
  std::string out;
  out.reserve(html.size());
  size_t copied = 0;
  for (size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
    if (at + 1 >= html.size() || !IsAsciiLetter(html[at + 1])) continue;
    StartTag tag;
    if (!ReadStartTag(html, at, tag)) break;
    out.append(html.substr(copied, at - copied));
    if (!IsTrackingPicture(html, tag, trackers)) {
      AppendWithoutTrackingParameters(out, html, at, tag);
    } else if (!out.empty() && out.back() == '<') {
      // That "<" was text; left before what follows the picture, it could start a tag of its own.
      out.replace(out.size() - 1, 1, "&lt;");
    }
    copied = tag.end;
    at = tag.end - 1;
  }
  out.append(html.substr(copied));
  return out;
}

}  // namespace tarnwick::mailbox
