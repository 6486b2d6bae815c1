#pragma once

#include <string_view>

namespace tarnwick::mailbox {

/// The character set a web page declares in its first 4096 bytes: the `charset` of a `<meta>`
/// tag, either `<meta charset="...">` or the Content-Type of `<meta http-equiv ... content=
/// "text/html; charset=...">`. Empty when there is none.
std::string_view DeclaredPageCharset(std::string_view page);

/// The `charset` parameter of a Content-Type value ("text/html; charset=ISO-8859-1"), quotes
/// removed; empty when there is none.
std::string_view CharsetOfContentType(std::string_view contentType);

}  // namespace tarnwick::mailbox
