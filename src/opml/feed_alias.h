#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::opml {

/// Longest alias, in bytes, that an imported feed gets, so that its "Aliases" line keeps room for
/// its name within what a read of that section hands out.
inline constexpr size_t kMaxImportedAliasBytes = 60;

/// An alias the settings file stores as itself, made from a title: control characters dropped,
/// "[" "]" "=" turned into "(" ")" "-", leading ";" and blanks at the ends taken off, cut between
/// characters to `maxBytes`. Empty when nothing is left.
std::string StorableAlias(std::string_view title, size_t maxBytes = kMaxImportedAliasBytes);

/// `alias`, or when an entry of `aliasEntries` ("alias=name") has it (without regard to case),
/// the first of "alias (2)", "alias (3)", ... that none has, the alias cut to keep it within
/// kMaxImportedAliasBytes. Empty when no number up to 999 is free.
std::string UniqueAlias(const std::string& alias, const std::vector<std::string>& aliasEntries);

}  // namespace tarnwick::opml
