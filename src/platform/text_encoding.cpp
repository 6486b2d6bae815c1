#include "platform/text_encoding.h"

#include "platform/charset_conversion.h"
#include "platform/text.h"

#include <array>

namespace tarnwick::platform {
namespace {

constexpr char kWindows1252[] = "WINDOWS-1252";
constexpr char kLatin1[] = "ISO-8859-1";
constexpr std::array<std::string_view, 9> kWindows1252Aliases = {
    "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "us-ascii", "ascii", "iso-ir-100", "cp819"};

bool IsWindows1252Alias(std::string_view charset) {
  for (std::string_view alias : kWindows1252Aliases) {
    if (EqualsIgnoreCase(charset, alias)) return true;
  }
  return false;
}

// Character set names are letters, digits and "-_.:()"; anything else (such as the "//" of iconv's
// options) is no name.
bool IsCharsetName(std::string_view charset) {
  if (charset.empty() || charset.size() > 40) return false;
  for (char c : charset) {
    const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '-' && c != '_' && c != '.' && c != ':' && c != '(' && c != ')') return false;
  }
  return true;
}

}  // namespace

std::optional<ByteOrderMark> FindByteOrderMark(std::string_view bytes) {
  // UTF-32 LE starts with the UTF-16 LE mark, so it is tested first.
  if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) return ByteOrderMark{"UTF-32LE", 4};
  if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) return ByteOrderMark{"UTF-32BE", 4};
  if (bytes.starts_with("\xEF\xBB\xBF")) return ByteOrderMark{"UTF-8", 3};
  if (bytes.starts_with("\xFF\xFE")) return ByteOrderMark{"UTF-16LE", 2};
  if (bytes.starts_with("\xFE\xFF")) return ByteOrderMark{"UTF-16BE", 2};
  return std::nullopt;
}

bool IsUtf8Name(std::string_view charset) {
  return EqualsIgnoreCase(charset, "utf-8") || EqualsIgnoreCase(charset, "utf8");
}

std::optional<std::string> ConvertToUtf8(std::string_view bytes, std::string_view charset) {
  if (!IsCharsetName(charset)) return std::nullopt;
  if (IsWindows1252Alias(charset)) {
    if (std::optional<std::string> text = SystemConvertToUtf8(bytes, kWindows1252)) return text;
    return SystemConvertToUtf8(bytes, kLatin1);
  }
  return SystemConvertToUtf8(bytes, std::string(charset));
}

}  // namespace tarnwick::platform
