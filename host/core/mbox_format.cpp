#include "core/mbox_format.h"

#include "platform/local_time.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace tarnwick::host {
namespace {

constexpr std::array<const char*, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// True when the line starts with at least `minimumMarks` ">" characters followed by "From ".
bool IsQuotedFromLine(std::string_view line, size_t minimumMarks) {
  size_t marks = 0;
  while (marks < line.size() && line[marks] == '>') ++marks;
  return marks >= minimumMarks && line.substr(marks).starts_with("From ");
}

// Calls `visit` with every line of `text`, each with its line end.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    visit(text.substr(start, end - start));
    start = end;
  }
}

bool IsBlankLine(std::string_view line) {
  return line == "\r\n" || line == "\n";
}

}  // namespace

bool IsSeparatorLine(std::string_view line) {
  return line.starts_with(kSeparatorPrefix);
}

std::string SeparatorLine(std::time_t when) {
  std::tm local{};
  platform::LocalTimeParts(when, local);
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "From ???@??? %s %s %d %02d:%02d:%02d %d", kWeekdays[local.tm_wday % 7],
                kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                local.tm_year + 1900);
  return buffer;
}

std::string EscapeBody(std::string_view body) {
  std::string escaped;
  escaped.reserve(body.size() + 16);
  ForEachLine(body, [&](std::string_view line) {
    if (IsQuotedFromLine(line, 0)) escaped += '>';
    escaped += line;
  });
  return escaped;
}

std::string UnescapeBody(std::string_view body) {
  std::string plain;
  plain.reserve(body.size());
  ForEachLine(body, [&](std::string_view line) {
    if (IsQuotedFromLine(line, 1)) line.remove_prefix(1);
    plain += line;
  });
  return plain;
}

std::string WithCrLfLineEnds(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  return result;
}

StoredMessageParts SplitStoredMessage(std::string_view stored) {
  StoredMessageParts parts;
  if (IsSeparatorLine(stored)) {
    size_t end = stored.find('\n');
    end = end == std::string_view::npos ? stored.size() : end + 1;
    parts.separatorLine = stored.substr(0, end);
    stored.remove_prefix(end);
  }
  size_t headerEnd = stored.size();
  size_t start = 0;
  while (start < stored.size()) {
    size_t end = stored.find('\n', start);
    end = end == std::string_view::npos ? stored.size() : end + 1;
    if (IsBlankLine(stored.substr(start, end - start))) {
      headerEnd = end;
      break;
    }
    start = end;
  }
  parts.headerBlock = stored.substr(0, headerEnd);
  parts.body = stored.substr(headerEnd);
  return parts;
}

std::string ReadableBody(std::string_view escapedBody) {
  constexpr std::string_view kHtmlOpen = "<x-html>";
  constexpr std::string_view kHtmlClose = "</x-html>";
  std::string body = UnescapeBody(escapedBody);
  if (body.ends_with("\r\n")) {
    body.resize(body.size() - 2);
  } else if (body.ends_with("\n")) {
    body.pop_back();
  }
  if (body.starts_with(kHtmlOpen) && body.ends_with(kHtmlClose) &&
      body.size() >= kHtmlOpen.size() + kHtmlClose.size()) {
    body = body.substr(kHtmlOpen.size(), body.size() - kHtmlOpen.size() - kHtmlClose.size());
  }
  return body;
}

std::string HeaderValue(std::string_view headerBlock, std::string_view name) {
  std::string value;
  bool inField = false;
  bool done = false;
  ForEachLine(headerBlock, [&](std::string_view line) {
    if (done) return;
    std::string_view content = line;
    while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) content.remove_suffix(1);
    if (inField) {
      if (!content.empty() && (content[0] == ' ' || content[0] == '\t')) {
        value += content;
        return;
      }
      done = true;
      return;
    }
    if (content.size() > name.size() && content[name.size()] == ':') {
      bool same = true;
      for (size_t i = 0; i < name.size() && same; ++i) {
        same =
            std::tolower(static_cast<unsigned char>(content[i])) == std::tolower(static_cast<unsigned char>(name[i]));
      }
      if (same) {
        content.remove_prefix(name.size() + 1);
        while (!content.empty() && (content[0] == ' ' || content[0] == '\t')) content.remove_prefix(1);
        value = content;
        inField = true;
      }
    }
  });
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  return value;
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return line;
}

}  // namespace tarnwick::host
