// Converts arbitrary bytes as a feed document (XmlDocumentAsUtf8) and, in a character set that
// the first byte picks, as any text (ConvertToUtf8Replacing). The output must be valid UTF-8, and
// a valid UTF-8 document that names no encoding must come back unchanged.

#include "feed/xml_encoding.h"
#include "platform/text_encoding.h"

#include "utf8_checks.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 12> kCharsets = {"UTF-8",    "UTF-16LE",   "UTF-16BE",  "UTF-32LE",
                                                        "UTF-32BE", "ISO-8859-1", "Shift_JIS", "ISO-2022-JP",
                                                        "EUC-KR",   "GB18030",    "UTF-7",     "windows-1252"};

void Fail(const char* what) {
  std::fprintf(stderr, "document encoding: %s\n", what);
  std::abort();
}

// A document whose first bytes could name another encoding: a mark, wide units, or a declaration.
bool MayNameAnEncoding(std::string_view text) {
  return text.empty() || static_cast<unsigned char>(text[0]) >= 0xEF || text[0] == '\0' ||
         (text.size() > 1 && text[1] == '\0') || tarnwick::fuzz::ContainsIgnoringCase(text, "encoding");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string document = tarnwick::feed::XmlDocumentAsUtf8(std::string(bytes));
  if (!tarnwick::fuzz::IsValidUtf8(document)) Fail("a document's conversion is not valid UTF-8");
  if (tarnwick::fuzz::IsValidUtf8(bytes) && !MayNameAnEncoding(bytes) && document != bytes) {
    Fail("a valid UTF-8 document naming no encoding changed");
  }
  if (size == 0) return 0;
  const std::string_view charset = kCharsets[data[0] % kCharsets.size()];
  const std::optional<std::string> text = tarnwick::platform::ConvertToUtf8Replacing(bytes.substr(1), charset);
  if (!text) Fail("a known character set was not converted");
  if (!tarnwick::fuzz::IsValidUtf8(*text)) Fail("a text's conversion is not valid UTF-8");
  return 0;
}
