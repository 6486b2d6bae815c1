#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::platform {

/// The character set a text's leading byte-order mark names, and how many bytes the mark takes.
struct ByteOrderMark {
  std::string_view charset;  // "UTF-8", "UTF-16LE", "UTF-16BE", "UTF-32LE" or "UTF-32BE"
  size_t length = 0;
};

/// The byte-order mark at the start of `bytes`; nullopt when there is none.
std::optional<ByteOrderMark> FindByteOrderMark(std::string_view bytes);

/// True when `charset` names UTF-8 (any letter case, with or without the "-").
bool IsUtf8Name(std::string_view charset);

/// `bytes`, written in the character set `charset`, as UTF-8. The Latin-1 and US-ASCII names are
/// read as windows-1252, as web browsers read them (a byte that windows-1252 leaves undefined is
/// then read as Latin-1). Nullopt when the system does not know the name or the bytes are not
/// valid in that character set; the caller then keeps the bytes as they are.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, std::string_view charset);

/// ConvertToUtf8 that never fails on the bytes: a sequence not valid in `charset` becomes U+FFFD
/// and the conversion goes on, and a text that ends inside a character ends with U+FFFD. For
/// UTF-8 (`charset` IsUtf8Name) this is ValidUtf8. Nullopt only when the system does not know
/// the name.
std::optional<std::string> ConvertToUtf8Replacing(std::string_view bytes, std::string_view charset);

/// The length of the longest prefix of `text` that is valid UTF-8 and ends between characters:
/// text.size() for valid text. A character cut off by the end of `text` is not counted.
size_t ValidUtf8Length(std::string_view text);

/// `text` with every part that is not valid UTF-8 (a stray byte, a cut or overlong sequence, a
/// surrogate, a code point beyond U+10FFFF) replaced by one U+FFFD per maximal invalid part, as
/// web browsers decode. Valid text comes back unchanged.
std::string ValidUtf8(std::string text);

/// True when `charset` reads the ASCII that markup declarations are written in (letters, digits,
/// blanks and <?!="';:/.-_>) as itself. A declaration that was read byte by byte can only be
/// telling the truth about such an encoding: false for the 16- and 32-bit encodings whatever
/// their name, and for names the system does not know.
bool ReadsDeclarationsAsWritten(std::string_view charset);

}  // namespace tarnwick::platform
