#pragma once

#include <string>

namespace tarnwick::mailbox {

/// What ReadPageText returns for a page it cannot use.
inline constexpr char kUnreadablePage[] = "-1";

/// The text of a downloaded web page: the bytes up to the first zero byte, or, for a file that
/// starts with a UTF-16 byte-order mark (little- or big-endian), its characters up to the first
/// zero character converted to UTF-8. kUnreadablePage when the path is empty, the file cannot be read,
/// or the text stops well short of the file (a zero byte early on: binary data).
std::string ReadPageText(const std::string& path);

}  // namespace tarnwick::mailbox
