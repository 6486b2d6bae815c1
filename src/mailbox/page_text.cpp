#include "mailbox/page_text.h"

#include "platform/file_io.h"

#include <cstdint>

namespace tarnwick::mailbox {
namespace {

void AppendUtf8(std::string& text, uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16 little-endian units from `start` up to the first zero unit, as UTF-8. A lone surrogate
// becomes U+FFFD. Returns the number of characters converted through `characters`.
std::string Utf16ToUtf8(const std::string& bytes, size_t start, size_t& characters) {
  std::string text;
  characters = 0;
  auto unitAt = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  for (size_t at = start; at + 1 < bytes.size(); at += 2) {
    uint32_t unit = unitAt(at);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size() && unitAt(at + 2) >= 0xDC00 &&
        unitAt(at + 2) < 0xE000) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
      at += 2;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      unit = 0xFFFD;
    }
    AppendUtf8(text, unit);
    ++characters;
  }
  return text;
}

}  // namespace

std::string ReadPageText(const std::string& path) {
  std::string bytes;
  if (path.empty() || !platform::ReadFileIfPresent(path, bytes)) return kUnreadablePage;
  std::string text;
  size_t length = 0;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    text = Utf16ToUtf8(bytes, 2, length);
  } else {
    text = bytes.substr(0, bytes.find('\0'));
    length = text.size();
  }
  // A text much shorter than the file means a zero byte early on.
  const long long shortest = static_cast<long long>(bytes.size() / 2) - 20;
  if (static_cast<long long>(length) < shortest) return kUnreadablePage;
  return text;
}

}  // namespace tarnwick::mailbox
