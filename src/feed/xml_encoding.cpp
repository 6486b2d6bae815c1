#include "feed/xml_encoding.h"

#include <optional>
#include <string_view>

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

// The encoding of a document without a byte-order mark whose declaration is in two- or four-byte
// units: "<?" in that encoding's bytes.
std::string_view UnmarkedWideEncoding(std::string_view bytes) {
  if (bytes.starts_with(std::string_view("<\0\0\0?\0\0\0", 8))) return "UTF-32LE";
  if (bytes.starts_with(std::string_view("\0\0\0<\0\0\0?", 8))) return "UTF-32BE";
  if (bytes.starts_with(std::string_view("<\0?\0", 4))) return "UTF-16LE";
  if (bytes.starts_with(std::string_view("\0<\0?", 4))) return "UTF-16BE";
  return {};
}

// The character set XmlDocumentAsUtf8 reads a document in (empty for UTF-8 by default) and the
// length of its byte-order mark.
struct DocumentCharset {
  std::string_view charset;
  size_t markLength = 0;
};

DocumentCharset CharsetOf(std::string_view bytes) {
  if (std::optional<platform::ByteOrderMark> mark = platform::FindByteOrderMark(bytes)) {
    return {mark->charset, mark->length};
  }
  if (std::string_view wide = UnmarkedWideEncoding(bytes); !wide.empty()) return {wide};
  // The declaration was read byte by byte; an encoding that would not read it as written (a
  // 16- or 32-bit one, whatever its name) is not the document's, which is then taken as UTF-8.
  std::string_view declared = DeclaredEncoding(bytes);
  if (declared.empty() || platform::IsUtf8Name(declared) || platform::ReadsDeclarationsAsWritten(declared)) {
    return {declared};
  }
  return {};
}

}  // namespace

std::string XmlDocumentAsUtf8(std::string bytes) {
  const DocumentCharset found = CharsetOf(bytes);
  const std::string_view charset = found.charset;
  if (found.markLength > 0) bytes.erase(0, found.markLength);
  if (charset.empty() || platform::IsUtf8Name(charset)) return platform::ValidUtf8(std::move(bytes));
  std::optional<std::string> text = platform::ConvertToUtf8Replacing(bytes, charset);
  return text ? std::move(*text) : platform::ValidUtf8(std::move(bytes));
}

bool XmlDocumentIsUtf8(std::string_view bytes) {
  const DocumentCharset found = CharsetOf(bytes);
  return found.markLength == 0 && (found.charset.empty() || platform::IsUtf8Name(found.charset));
}

}  // namespace tarnwick::feed
