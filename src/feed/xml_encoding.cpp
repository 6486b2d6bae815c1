#include "feed/xml_encoding.h"

#include <optional>
#include <string_view>

#include "platform/text.h"
#include "platform/text_encoding.h"

namespace tarnwick::feed {
namespace {

// The value of the `encoding` pseudo-attribute of a leading XML declaration; empty when there is
// no declaration or it names no encoding.
std::string_view DeclaredEncoding(std::string_view text) {
  if (!text.starts_with("<?xml")) return {};
  const std::string_view declaration = text.substr(0, text.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  while (at < declaration.size() && (declaration[at] == ' ' || declaration[at] == '=' || declaration[at] == '\t' ||
                                     declaration[at] == '\r' || declaration[at] == '\n')) {
    ++at;
  }
  if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return {};
  const size_t close = declaration.find(declaration[at], at + 1);
  if (close == std::string_view::npos) return {};
  return declaration.substr(at + 1, close - at - 1);
}

// The encoding of a document without a byte-order mark whose declaration is in two-byte units.
std::string_view UnmarkedUtf16(std::string_view bytes) {
  if (bytes.starts_with(std::string_view("<\0?\0", 4))) return "UTF-16LE";
  if (bytes.starts_with(std::string_view("\0<\0?", 4))) return "UTF-16BE";
  return {};
}

// A declaration read byte by byte cannot be in a multi-byte-unit encoding, whatever it says.
bool NamesWideEncoding(std::string_view charset) {
  const std::string name = platform::ToLowerAscii(charset);
  return name.starts_with("utf-16") || name.starts_with("utf-32") || name.starts_with("ucs") || name == "utf16" ||
         name == "utf32" || name == "unicode";
}

}  // namespace

std::string XmlDocumentAsUtf8(std::string bytes) {
  std::string_view charset;
  size_t skip = 0;
  if (std::optional<platform::ByteOrderMark> mark = platform::FindByteOrderMark(bytes)) {
    charset = mark->charset;
    skip = mark->length;
  } else if (charset = UnmarkedUtf16(bytes); charset.empty()) {
    charset = DeclaredEncoding(bytes);
    if (NamesWideEncoding(charset)) charset = {};
  }
  if (charset.empty() || platform::IsUtf8Name(charset)) return skip == 0 ? std::move(bytes) : bytes.substr(skip);
  std::optional<std::string> text = platform::ConvertToUtf8(std::string_view(bytes).substr(skip), charset);
  return text ? std::move(*text) : std::move(bytes);
}

}  // namespace tarnwick::feed
