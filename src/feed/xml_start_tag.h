#pragma once

#include <string>
#include <string_view>

namespace tarnwick::feed {

/// The part of a name argument that names are compared with, byte for byte: the argument up to
/// its end or its first character from " =/[]" (so "title" and "title/x" both give "title").
std::string_view NameKey(std::string_view argument);

/// The element name in a start tag ("<" through ">"): after the "<" and any whitespace, the run up
/// to the first of whitespace, "<", ">", "=", "\", "/", "?" or "!". Empty when there is none.
std::string_view StartTagName(std::string_view startTag);

/// The decoded value of the first attribute whose name equals NameKey(name) in a start tag ("<"
/// through ">"). The tag is read token by token: a quoted run (its text is what lies between the
/// quotes), an unquoted run (ending at whitespace, "=", ">", "/" or "?"; a value after "=" ends
/// only at whitespace or ">"), or a single character where a run would be empty. An attribute
/// written without "=" gives its own name; an attribute that is absent gives an empty text.
std::string StartTagAttribute(std::string_view startTag, std::string_view name);

}  // namespace tarnwick::feed
