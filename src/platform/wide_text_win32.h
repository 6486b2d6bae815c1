#pragma once

#include <string>
#include <string_view>

namespace tarnwick::platform {

/// UTF-8 text (a path, most often) as the UTF-16 text that the system's wide functions take.
/// Bytes that are not UTF-8 become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
/// UTF-16 text from the system as UTF-8.
std::string Utf8FromWide(std::wstring_view text);
/// A path as the system's wide functions take it: UTF-16, with "/" turned into "\".
std::wstring WidePath(const std::string& path);
/// A path from the system as the rest of the program writes paths: UTF-8, with "\" turned into "/".
std::string PathFromWide(std::wstring_view path);

/// Sets errno from the system's last error (GetLastError), so that callers see one kind of error
/// number on every system. Returns false, for the failure paths that end with it.
bool FailWithLastError();

}  // namespace tarnwick::platform
