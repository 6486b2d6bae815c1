#include "platform/charset_conversion.h"
#include "platform/text.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <array>

namespace tarnwick::platform {
namespace {

struct CodePageName {
  std::string_view name;
  UINT codePage;
};

// The names documents use (their usual aliases included) and the system's code pages for them.
constexpr std::array<CodePageName, 52> kCodePages = {{
    {"utf-8", 65001},       {"utf8", 65001},        {"windows-1250", 1250},  {"windows-1251", 1251},
    {"windows-1252", 1252}, {"windows-1253", 1253}, {"windows-1254", 1254},  {"windows-1255", 1255},
    {"windows-1256", 1256}, {"windows-1257", 1257}, {"windows-1258", 1258},  {"cp1250", 1250},
    {"cp1251", 1251},       {"cp1252", 1252},       {"iso-8859-1", 28591},   {"iso-8859-2", 28592},
    {"iso-8859-3", 28593},  {"iso-8859-4", 28594},  {"iso-8859-5", 28595},   {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},  {"iso-8859-8", 28598},  {"iso-8859-9", 28599},   {"iso-8859-13", 28603},
    {"iso-8859-15", 28605}, {"latin1", 28591},      {"koi8-r", 20866},       {"koi8-u", 21866},
    {"shift_jis", 932},     {"shift-jis", 932},     {"sjis", 932},           {"windows-31j", 932},
    {"cp932", 932},         {"euc-jp", 20932},      {"iso-2022-jp", 50220},  {"gb2312", 936},
    {"gbk", 936},           {"cp936", 936},         {"gb18030", 54936},      {"big5", 950},
    {"cp950", 950},         {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"windows-874", 874},
    {"tis-620", 874},       {"ibm866", 866},        {"cp866", 866},          {"macintosh", 10000},
    {"us-ascii", 20127},    {"ascii", 20127},       {"iso-8859-11", 874},    {"windows-949", 949},
}};

// Code pages that take MB_ERR_INVALID_CHARS; the others refuse the call when it is given.
bool ChecksInvalidBytes(UINT codePage) {
  return codePage != 50220 && codePage != 20932 && codePage != 54936 && (codePage < 57002 || codePage > 57011);
}

std::optional<UINT> CodePageOf(std::string_view charset) {
  for (const CodePageName& entry : kCodePages) {
    if (EqualsIgnoreCase(entry.name, charset)) return entry.codePage;
  }
  return std::nullopt;
}

constexpr wchar_t kReplacementCharacter = 0xFFFD;

// UTF-16 or UTF-32 text, as its byte order says, checked: a code point beyond U+10FFFF or a text
// ending inside a unit makes it invalid (lone surrogates are caught on the way to UTF-8).
std::optional<std::wstring> WideOfUnicode(std::string_view bytes, size_t unitSize, bool bigEndian, bool replace) {
  if (bytes.size() % unitSize != 0 && !replace) return std::nullopt;
  std::wstring wide;
  const size_t whole = bytes.size() - bytes.size() % unitSize;
  for (size_t at = 0; at < whole; at += unitSize) {
    uint32_t unit = 0;
    for (size_t i = 0; i < unitSize; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? i : unitSize - 1 - i)]);
      unit = (unit << 8) | byte;
    }
    if (unitSize == 4 && unit > 0x10FFFF) {
      if (!replace) return std::nullopt;
      wide += kReplacementCharacter;
    } else if (unitSize == 4 && unit > 0xFFFF) {
      unit -= 0x10000;
      wide += static_cast<wchar_t>(0xD800 + (unit >> 10));
      wide += static_cast<wchar_t>(0xDC00 + (unit & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(unit);
    }
  }
  if (whole < bytes.size()) wide += kReplacementCharacter;  // the text ends inside a unit
  return wide;
}

// A code page's text converted character by character, each character that the system refuses
// becoming U+FFFD and the text going on at its next byte. (Converting without the system's check
// would put the code page's own default character instead.)
std::wstring WideReplacingInvalid(std::string_view bytes, UINT codePage) {
  CPINFO info{};
  const bool doubleByte = GetCPInfo(codePage, &info) && info.MaxCharSize == 2;
  std::wstring wide;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t length = doubleByte && IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at])) ? 2 : 1;
    wchar_t character[2];
    const int count = at + length <= bytes.size()
                          ? MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data() + at,
                                                static_cast<int>(length), character, 2)
                          : 0;
    if (count > 0) {
      wide.append(character, static_cast<size_t>(count));
      at += length;
    } else {
      wide += kReplacementCharacter;
      ++at;
    }
  }
  return wide;
}

std::optional<std::wstring> WideOf(std::string_view bytes, std::string_view charset, bool replace) {
  if (EqualsIgnoreCase(charset, "utf-16le")) return WideOfUnicode(bytes, 2, false, replace);
  if (EqualsIgnoreCase(charset, "utf-16be") || EqualsIgnoreCase(charset, "utf-16"))
    return WideOfUnicode(bytes, 2, true, replace);
  if (EqualsIgnoreCase(charset, "utf-32le")) return WideOfUnicode(bytes, 4, false, replace);
  if (EqualsIgnoreCase(charset, "utf-32be") || EqualsIgnoreCase(charset, "utf-32"))
    return WideOfUnicode(bytes, 4, true, replace);
  const std::optional<UINT> codePage = CodePageOf(charset);
  if (!codePage || !IsValidCodePage(*codePage)) return std::nullopt;
  if (bytes.empty()) return std::wstring();
  const DWORD flags = ChecksInvalidBytes(*codePage) ? MB_ERR_INVALID_CHARS : 0;
  const int size = MultiByteToWideChar(*codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0 && replace && flags != 0) return WideReplacingInvalid(bytes, *codePage);
  if (size <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(*codePage, flags, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  return wide;
}

}  // namespace

std::optional<std::string> SystemConvertToUtf8(std::string_view bytes, const std::string& charset,
                                               InvalidBytes invalid) {
  const bool replace = invalid == InvalidBytes::kReplace;
  const std::optional<std::wstring> wide = WideOf(bytes, charset, replace);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  // Lone surrogates are no text: the conversion refuses them, or puts U+FFFD for each.
  const DWORD flags = replace ? 0 : WC_ERR_INVALID_CHARS;
  const int size =
      WideCharToMultiByte(CP_UTF8, flags, wide->data(), static_cast<int>(wide->size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, flags, wide->data(), static_cast<int>(wide->size()), text.data(), size, nullptr,
                      nullptr);
  return text;
}

}  // namespace tarnwick::platform
