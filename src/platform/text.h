#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::platform {

/// The text without the spaces and tabs at both ends.
std::string TrimBlanks(std::string_view text);
/// The text without white space (space, tab, CR, LF, vertical tab, form feed) at both ends.
std::string TrimWhiteSpace(std::string_view text);
/// True when both texts are equal with the letters A-Z and a-z folded to one case (bytewise).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
/// The text with A-Z turned into a-z; other bytes unchanged.
std::string ToLowerAscii(std::string_view text);
/// Every occurrence of `from` (non-empty) replaced by `to`, scanning left to right once.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
/// The format with each "%s" replaced by the next of `values`, left to right; a "%s" inside a
/// value is never replaced, and "%s" left over when the values run out stay.
std::string FillText(std::string_view format, const std::vector<std::string>& values);

}  // namespace tarnwick::platform
