#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick::ui {

/// The first `count` characters of a UTF-8 text (the whole text when it is not longer), never
/// cutting a character in two. Bytes that start no valid sequence count as one character each.
std::string FirstCharacters(std::string_view text, size_t count);

/// True when the UTF-8 text has more than `count` characters (counted as FirstCharacters does).
bool LongerThan(std::string_view text, size_t count);

}  // namespace tarnwick::ui
