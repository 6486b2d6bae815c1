#include "mailbox/page_text.h"

#include "feed/xml_encoding.h"
#include "mailbox/page_charset.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"

#include <cstdint>
#include <optional>

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

// UTF-16 units (little- or big-endian) from `start` up to the first zero unit, as UTF-8. A lone
// surrogate becomes U+FFFD. Gives the number of units read through `units`, which a pair of
// surrogates counts twice, so that a page beyond the basic plane is not taken for a short text.
std::string Utf16ToUtf8(const std::string& bytes, size_t start, bool bigEndian, size_t& units) {
  std::string text;
  units = 0;
  auto unitAt = [&](size_t at) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<uint32_t>(bigEndian ? (first << 8) | second : first | (second << 8));
  };
  for (size_t at = start; at + 1 < bytes.size(); at += 2) {
    uint32_t unit = unitAt(at);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size() && unitAt(at + 2) >= 0xDC00 &&
        unitAt(at + 2) < 0xE000) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
      at += 2;
      ++units;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      unit = 0xFFFD;
    }
    AppendUtf8(text, unit);
    ++units;
  }
  return text;
}

// A character set named for a page whose text has no zero byte in it: never a 16- or 32-bit
// one, whatever the page or the server says (the declaration itself was read byte by byte).
std::string_view Believed(std::string_view charset) {
  return !charset.empty() && platform::ReadsDeclarationsAsWritten(charset) ? charset : std::string_view();
}

// A page's bytes as valid UTF-8, from the character set its UTF-8 mark, its <meta> tag, the
// server or an XML declaration names (in that order); UTF-8 when none does.
std::string PageAsUtf8(std::string bytes, std::string_view serverCharset) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return platform::ValidUtf8(bytes.substr(3));
  std::string_view charset = Believed(DeclaredPageCharset(bytes));
  if (charset.empty()) charset = Believed(serverCharset);
  if (charset.empty()) return feed::XmlDocumentAsUtf8(std::move(bytes));
  std::optional<std::string> text = platform::ConvertToUtf8Replacing(bytes, charset);
  return text ? std::move(*text) : platform::ValidUtf8(std::move(bytes));
}

}  // namespace

std::string ReadPageText(const std::string& path, std::string_view serverCharset) {
  std::string bytes;
  if (path.empty() || !platform::ReadFileIfPresent(path, bytes)) return kUnreadablePage;
  std::string text;
  size_t length = 0;
  const bool littleEndian = bytes.starts_with("\xFF\xFE");
  if (littleEndian || bytes.starts_with("\xFE\xFF")) {
    text = Utf16ToUtf8(bytes, 2, !littleEndian, length);
  } else {
    text = bytes.substr(0, bytes.find('\0'));
    length = text.size();
    text = PageAsUtf8(std::move(text), serverCharset);
  }
  // A text much shorter than the file means a zero byte early on.
  const long long shortest = static_cast<long long>(bytes.size() / 2) - 20;
  if (static_cast<long long>(length) < shortest) return kUnreadablePage;
  return text;
}

}  // namespace tarnwick::mailbox
