#include "mailbox/page_charset.h"

#include "platform/text.h"

namespace tarnwick::mailbox {
namespace {

constexpr size_t kSniffedBytes = 4096;

// Offset of `word` in `text` from `from` on, letter case ignored; npos when absent.
size_t FindIgnoringCase(std::string_view text, std::string_view word, size_t from = 0) {
  for (size_t at = from; at + word.size() <= text.size(); ++at) {
    if (platform::EqualsIgnoreCase(text.substr(at, word.size()), word)) return at;
  }
  return std::string_view::npos;
}

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == ':';
}

// The name after "charset" at `at`: past blanks, "=" and an opening quote, up to the first
// character that cannot be in a name.
std::string_view NameAfterCharset(std::string_view text, size_t at) {
  at += 7;  // "charset"
  while (at < text.size() && (text[at] == ' ' || text[at] == '=' || text[at] == '"' || text[at] == '\'')) ++at;
  size_t end = at;
  while (end < text.size() && IsNameCharacter(text[end])) ++end;
  return text.substr(at, end - at);
}

}  // namespace

std::string_view DeclaredPageCharset(std::string_view page) {
  const std::string_view head = page.substr(0, kSniffedBytes);
  for (size_t meta = FindIgnoringCase(head, "<meta"); meta != std::string_view::npos;
       meta = FindIgnoringCase(head, "<meta", meta + 5)) {
    const std::string_view tag = head.substr(meta, head.find('>', meta) - meta);
    const size_t charset = FindIgnoringCase(tag, "charset");
    if (charset == std::string_view::npos) continue;
    const std::string_view name = NameAfterCharset(tag, charset);
    if (!name.empty()) return name;
  }
  return {};
}

std::string_view CharsetOfContentType(std::string_view contentType) {
  const size_t charset = FindIgnoringCase(contentType, "charset");
  return charset == std::string_view::npos ? std::string_view() : NameAfterCharset(contentType, charset);
}

}  // namespace tarnwick::mailbox
