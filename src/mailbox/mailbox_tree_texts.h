#pragma once

// Texts of the mailbox tree.

namespace tarnwick::mailbox {

/// The root's name when the data folder's path gives none.
inline constexpr char kMailboxesRootName[] = "Mailboxes";

}  // namespace tarnwick::mailbox
