#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::platform {

/// What a conversion does with bytes that are not valid in their character set.
enum class InvalidBytes {
  kRefuse,   // the conversion fails
  kReplace,  // each invalid unit (and a text ending inside a character) becomes one U+FFFD
};

/// `bytes`, written in the character set the system knows as `charset`, converted to UTF-8 by the
/// system's converter. Nullopt when the system does not know the name, or, refusing invalid bytes,
/// when they are not valid in that character set (a text that ends inside a character included).
std::optional<std::string> SystemConvertToUtf8(std::string_view bytes, const std::string& charset,
                                               InvalidBytes invalid = InvalidBytes::kRefuse);

}  // namespace tarnwick::platform
