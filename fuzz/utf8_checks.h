#pragma once

// Checks of text that the fuzz targets of conversions and names share. Written apart from the
// program's own decoder, so that a fault in one is not hidden by the same fault in the other.

#include <cstdint>
#include <string_view>

namespace tarnwick::fuzz {

/// True when `text` is well-formed UTF-8: no stray or missing continuation bytes, no overlong
/// forms, no surrogates, nothing beyond U+10FFFF.
inline bool IsValidUtf8(std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size()) return false;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    at += length;
  }
  return true;
}

/// True when `text` holds `word` in any letter case of ASCII.
inline bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
  for (size_t at = 0; at + word.size() <= text.size(); ++at) {
    size_t i = 0;
    while (i < word.size() && (text[at + i] | 0x20) == (word[i] | 0x20)) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

}  // namespace tarnwick::fuzz
