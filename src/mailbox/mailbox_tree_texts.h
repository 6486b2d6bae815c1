#pragma once

// Texts of the mailbox tree.

namespace tarnwick::mailbox {

/// The root's name when the data folder's path gives none.
inline constexpr char kMailboxesRootName[] = "Mailboxes";

/// Why no mailbox was made: no usable name was given, or the host made none and said nothing.
inline constexpr char kNoMailboxNameText[] = "Please enter a name for the new mailbox.";
inline constexpr char kMailboxNotMadeText[] = "The mail program could not make the mailbox.";

}  // namespace tarnwick::mailbox
