#pragma once

namespace tarnwick::store {

// Every text of the store that a user may see.

/// Why an alias cannot be saved: it is empty.
inline constexpr char kAliasEmptyText[] = "Please enter an alias for this feed.";
/// Why an alias cannot be saved: it holds a line break, a tab or another control character.
inline constexpr char kAliasControlCharacterText[] =
    "An alias cannot contain line breaks, tabs or other control characters.\n"
    "Please choose another alias for this feed.";
/// Why an alias cannot be saved: it holds a character that the settings file gives a meaning.
inline constexpr char kAliasReservedCharacterText[] =
    "An alias cannot contain \"=\", \"[\" or \"]\".\n"
    "Please choose another alias for this feed.";
/// Why an alias cannot be saved: the settings file would take it for a comment.
inline constexpr char kAliasCommentMarkText[] =
    "An alias cannot begin with \";\".\n"
    "Please choose another alias for this feed.";
/// Why an alias cannot be saved: the settings file drops blanks around names.
inline constexpr char kAliasOuterBlankText[] =
    "An alias cannot begin or end with a blank.\n"
    "Please remove the blanks around the alias.";

/// Why a feed cannot be saved: its "Aliases" line would be read back cut.
inline constexpr char kFeedNameTooLongText[] =
    "The alias and the feed's name together are too long for the settings file.\n"
    "Please choose a shorter alias for this feed.";
/// Why a feed cannot be saved: its address, name or newsbox would be read back cut.
inline constexpr char kFeedValueTooLongText[] =
    "The feed's address, name or newsbox is longer than the settings file can hold (254 bytes).";

}  // namespace tarnwick::store
