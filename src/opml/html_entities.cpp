#include "opml/html_entities.h"

#include "feed/xml_references.h"

#include <array>
#include <cstdint>

namespace tarnwick::opml {
namespace {

// Named references cover U+00A0 to U+00FF in order.
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct NamedCharacter {
  std::string_view name;
  uint32_t codePoint;
};

constexpr NamedCharacter kOtherNames[] = {
    {"amp", 0x26},      {"lt", 0x3C},       {"gt", 0x3E},       {"quot", 0x22},     {"apos", 0x27},
    {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},  {"scaron", 0x161},  {"Yuml", 0x178},
    {"fnof", 0x192},    {"circ", 0x2C6},    {"tilde", 0x2DC},   {"ensp", 0x2002},   {"emsp", 0x2003},
    {"thinsp", 0x2009}, {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},
    {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"dagger", 0x2020},
    {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026}, {"permil", 0x2030}, {"prime", 0x2032},
    {"Prime", 0x2033},  {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},   {"trade", 0x2122}};

// Longest reference looked at: "&" + name or "#x10FFFF" + ";".
constexpr size_t kLongestReference = 10;

// The code point of a named reference, or 0 when the name is not known.
uint32_t CodePointOf(std::string_view name) {
  for (size_t i = 0; i < kLatin1Names.size(); ++i) {
    if (kLatin1Names[i] == name) return static_cast<uint32_t>(0xA0 + i);
  }
  for (const NamedCharacter& named : kOtherNames) {
    if (named.name == name) return named.codePoint;
  }
  return 0;
}

}  // namespace

std::string DecodeHtmlEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const size_t amp = text.find('&', at);
    if (amp == std::string_view::npos) break;
    out.append(text, at, amp - at);
    const size_t semicolon = text.find(';', amp);
    at = amp + 1;
    if (semicolon == std::string_view::npos || semicolon - amp > kLongestReference) {
      out += '&';
      continue;
    }
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    std::string reference(text.substr(amp, semicolon + 1 - amp));
    if (!name.empty() && name.front() != '#') {
      const uint32_t codePoint = CodePointOf(name);
      if (codePoint == 0) {
        out += '&';
        continue;
      }
      reference = "&#" + std::to_string(codePoint) + ";";
    }
    // The XML decoder writes numeric references as UTF-8 and leaves bad ones as they are.
    const std::string decoded = feed::UnescapeText(reference);
    if (decoded == reference) {
      out += '&';
      continue;
    }
    out += decoded;
    at = semicolon + 1;
  }
  out.append(text.substr(at));
  return out;
}

}  // namespace tarnwick::opml
