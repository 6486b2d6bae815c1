#pragma once

#include <string>
#include <string_view>

namespace tarnwick::store {

/// The text cut to at most `bytes` bytes, never inside a UTF-8 sequence.
std::string CutBetweenCharacters(std::string_view text, size_t bytes);

/// The name cut between characters (blanks at its ends dropped) so that the "Aliases" entry
/// "alias=name" is read back whole.
std::string FittingName(const std::string& alias, const std::string& name);

/// The mailbox name cut between characters (blanks at its ends dropped) so that the path of its
/// file in `dataFolder` (MailboxFilePath) is a value the settings store reads back whole. Empty
/// when not even one character fits.
std::string FittingMailboxName(const std::string& dataFolder, const std::string& name);

}  // namespace tarnwick::store
