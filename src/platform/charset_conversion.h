#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::platform {

/// `bytes`, written in the character set the system knows as `charset`, converted to UTF-8 by the
/// system's converter. Nullopt when the system does not know the name or the bytes are not valid
/// in that character set (a text that ends inside a character included).
std::optional<std::string> SystemConvertToUtf8(std::string_view bytes, const std::string& charset);

}  // namespace tarnwick::platform
