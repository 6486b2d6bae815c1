#include "platform/text.h"

namespace tarnwick::platform {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string TrimChars(std::string_view text, std::string_view chars) {
  size_t first = text.find_first_not_of(chars);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(chars);
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string TrimBlanks(std::string_view text) { return TrimChars(text, " \t"); }

std::string TrimWhiteSpace(std::string_view text) { return TrimChars(text, " \t\r\n\v\f"); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string ToLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  size_t start = 0;
  for (size_t found = text.find(from); found != std::string_view::npos; found = text.find(from, start)) {
    result.append(text.substr(start, found - start));
    result.append(to);
    start = found + from.size();
  }
  result.append(text.substr(start));
  return result;
}

std::string FillText(std::string_view format, const std::vector<std::string>& values) {
  std::string text(format);
  size_t at = 0;
  for (const std::string& value : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

}  // namespace tarnwick::platform
