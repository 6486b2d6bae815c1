#pragma once

// Texts of the mailbox picker.

namespace tarnwick::ui {

inline constexpr char kMailboxPickerTitle[] = "Mailboxes";
inline constexpr char kMailboxPickerPrompt[] = "Please select the &mailbox for this feed";

}  // namespace tarnwick::ui
