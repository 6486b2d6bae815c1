#include "feed/xml_references.h"

#include <cstdlib>
#include <cstring>

namespace tarnwick::feed {
namespace {

constexpr long kLastCodePoint = 0x10FFFF;
constexpr long kFirstSurrogate = 0xD800;
constexpr long kLastSurrogate = 0xDFFF;

// Writes a code point as UTF-8 at `out`, returning the bytes written. The reference that named it
// is at least as long as the bytes ("&#1;" for one byte, "&#x10000;" for four), so the output
// never outgrows the input.
size_t WriteUtf8(long value, char* out) {
  if (value < 0x80) {
    out[0] = static_cast<char>(value);
    return 1;
  }
  if (value < 0x800) {
    out[0] = static_cast<char>(0xC0 | (value >> 6));
    out[1] = static_cast<char>(0x80 | (value & 0x3F));
    return 2;
  }
  if (value < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (value >> 12));
    out[1] = static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (value & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (value >> 18));
  out[1] = static_cast<char>(0x80 | ((value >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((value >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (value & 0x3F));
  return 4;
}

// A numeric reference at `at` ("&#..."): its value and the offset just after its ";", or 0 when
// it is not one (no ";" within 7 places of the first digit position, or no usable value).
long NumericReference(std::string_view text, size_t at, size_t& end) {
  bool hex = at + 2 < text.size() && text[at + 2] == 'x';
  size_t digits = at + (hex ? 3 : 2);
  size_t semicolon = digits;
  while (semicolon < text.size() && semicolon <= digits + 7 && text[semicolon] != ';') ++semicolon;
  if (semicolon > digits + 7 || semicolon >= text.size() || text[semicolon] != ';') return 0;
  // The value is read as the standard conversion reads it, from a terminated copy of the digits.
  char buffer[8] = {};
  std::memcpy(buffer, text.data() + digits, semicolon - digits);
  long value = std::strtol(buffer, nullptr, hex ? 16 : 10);
  // A surrogate or a value beyond the last code point names no character: the reference stays
  // as written rather than becoming bytes that are not UTF-8.
  if (value <= 0 || value > kLastCodePoint || (value >= kFirstSurrogate && value <= kLastSurrogate)) return 0;
  end = semicolon + 1;
  return value;
}

struct NamedEntity {
  std::string_view name;  // what follows the "&"
  char replacement;
};
constexpr NamedEntity kNamedEntities[] = {
    {"lt;", '<'}, {"amp;", '&'}, {"gt;", '>'}, {"apos;", '\''}, {"quot;", '"'},
};

}  // namespace

void AppendUnescaped(std::string& out, std::string_view text) {
  size_t ampersand = text.find('&');
  if (ampersand == std::string_view::npos) {
    out.append(text);
    return;
  }
  size_t base = out.size();
  out.resize(base + text.size());
  char* write = out.data() + base;
  std::memcpy(write, text.data(), ampersand);
  write += ampersand;
  size_t at = ampersand;
  while (at < text.size()) {
    char c = text[at];
    if (c != '&') {
      *write++ = c;
      ++at;
      continue;
    }
    size_t end = 0;
    if (at + 1 < text.size() && text[at + 1] == '#') {
      if (long value = NumericReference(text, at, end); value != 0) {
        write += WriteUtf8(value, write);
        at = end;
        continue;
      }
    } else {
      std::string_view rest = text.substr(at + 1);
      bool replaced = false;
      for (const NamedEntity& entity : kNamedEntities) {
        if (rest.substr(0, entity.name.size()) != entity.name) continue;
        *write++ = entity.replacement;
        at += 1 + entity.name.size();
        replaced = true;
        break;
      }
      if (replaced) continue;
    }
    *write++ = c;
    ++at;
  }
  out.resize(static_cast<size_t>(write - out.data()));
}

std::string UnescapeText(std::string_view text) {
  std::string out;
  AppendUnescaped(out, text);
  return out;
}

}  // namespace tarnwick::feed
