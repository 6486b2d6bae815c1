#pragma once

#include <string>
#include <string_view>

namespace tarnwick::mailbox {

/// What ReadPageText returns for a page it cannot use.
inline constexpr char kUnreadablePage[] = "-1";

/// The text of a downloaded web page as valid UTF-8: for a file that starts with a UTF-16
/// byte-order mark (little- or big-endian), its characters up to the first zero character;
/// otherwise the bytes up to the first zero byte, converted from the character set that a UTF-8
/// mark, the page's <meta> charset, `serverCharset` (the server's Content-Type charset, when
/// known) or an XML declaration names, else read as UTF-8. A 16- or 32-bit character set named
/// for such bytes is wrong and taken as UTF-8; bytes not valid in the character set become
/// U+FFFD. kUnreadablePage when the path is empty, the file cannot be read, or the text stops
/// well short of the file (a zero byte early on: binary data).
std::string ReadPageText(const std::string& path, std::string_view serverCharset = {});

}  // namespace tarnwick::mailbox
