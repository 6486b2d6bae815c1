#include "platform/text_encoding.h"

#include "platform/charset_conversion.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tarnwick::platform {
namespace {

constexpr std::array<std::string_view, 9> kWindows1252Aliases = {
    "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "us-ascii", "ascii", "iso-ir-100", "cp819"};

bool IsWindows1252Alias(std::string_view charset) {
  for (std::string_view alias : kWindows1252Aliases) {
    if (EqualsIgnoreCase(charset, alias)) return true;
  }
  return false;
}

constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";

// Bytes of the valid UTF-8 sequence at `at`; 0 when there is none, `invalid` then holding the
// length of the maximal invalid part there (at least 1).
size_t Utf8SequenceAt(std::string_view text, size_t at, size_t& invalid) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    invalid = 1;
    return 0;
  }
  size_t read = 1;
  for (; read < length && at + read < text.size(); ++read) {
    const auto next = static_cast<unsigned char>(text[at + read]);
    if (next < low || next > high) break;
    low = 0x80;
    high = 0xBF;
  }
  if (read == length) return length;
  invalid = read;
  return 0;
}

// The index of the first byte in memory order of a word whose only set bits are high bits of
// its bytes (at least one).
size_t HighByteIndex(uint64_t highBits) {
  if constexpr (std::endian::native == std::endian::little) return static_cast<size_t>(std::countr_zero(highBits)) / 8;
  return static_cast<size_t>(std::countl_zero(highBits)) / 8;
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
    if (std::optional<std::string> text = SystemConvertToUtf8(bytes, "WINDOWS-1252")) return text;
    return SystemConvertToUtf8(bytes, "ISO-8859-1");
  }
  return SystemConvertToUtf8(bytes, std::string(charset));
}

std::optional<std::string> ConvertToUtf8Replacing(std::string_view bytes, std::string_view charset) {
  if (IsUtf8Name(charset)) return ValidUtf8(std::string(bytes));
  if (!IsCharsetName(charset)) return std::nullopt;
  // Every byte is defined in Latin-1, so the fallback of ConvertToUtf8 cannot fail.
  if (IsWindows1252Alias(charset)) return ConvertToUtf8(bytes, charset);
  return SystemConvertToUtf8(bytes, std::string(charset), InvalidBytes::kReplace);
}

size_t ValidUtf8Length(std::string_view text) {
  constexpr uint64_t kHighBits = 0x8080808080808080;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t at = 0;
  size_t invalid = 0;
  while (at < text.size()) {
    const unsigned char lead = bytes[at];
    if (lead < 0x80) {
      // Markup and most text are ASCII, which is passed over eight bytes at a time up to the
      // first byte that is not.
      ++at;
      uint64_t word = 0;
      while (at + sizeof word <= text.size()) {
        std::memcpy(&word, bytes + at, sizeof word);
        if ((word & kHighBits) != 0) {
          at += HighByteIndex(word & kHighBits);
          break;
        }
        at += sizeof word;
      }
    } else if (lead >= 0xC2 && lead <= 0xDF && at + 1 < text.size() && (bytes[at + 1] & 0xC0) == 0x80) {
      at += 2;  // the common accented letters, without the general rule
    } else {
      const size_t length = Utf8SequenceAt(text, at, invalid);
      if (length == 0) break;
      at += length;
    }
  }
  return at;
}

std::string ValidUtf8(std::string text) {
  size_t at = ValidUtf8Length(text);
  if (at == text.size()) return text;
  size_t invalid = 0;
  std::string valid = text.substr(0, at);
  while (at < text.size()) {
    const size_t length = Utf8SequenceAt(text, at, invalid);
    if (length == 0) {
      valid += kReplacementCharacter;
      at += invalid;
    } else {
      valid.append(text, at, length);
      at += length;
    }
  }
  return valid;
}

bool ReadsDeclarationsAsWritten(std::string_view charset) {
  static constexpr std::string_view kDeclarationCharacters =
      "<?xml version=\"1.0\" encoding='ABCDEFGHIJKLMNOPQRSTUVWXYZ'?>"
      "<meta charset=\"abcdefghijklmnopqrstuvwxyz\" content=\"text/html; 0123456789-_.:\"/>";
  const std::optional<std::string> read = ConvertToUtf8(kDeclarationCharacters, charset);
  return read && *read == kDeclarationCharacters;
}

}  // namespace tarnwick::platform
