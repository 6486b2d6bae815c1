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

}  // namespace tarnwick::platform
