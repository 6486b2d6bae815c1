#pragma once

// Texts of the mailbox picker.

namespace tarnwick::ui {

inline constexpr char kMailboxPickerTitle[] = "Mailboxes";
inline constexpr char kMailboxPickerPrompt[] = "Please select the &mailbox for this feed";

/// Making a new newsbox from the picker: the button, and the question for its name, which names
/// the folder it goes into.
inline constexpr char kNewNewsboxButtonText[] = "&New Newsbox...";
inline constexpr char kNewNewsboxTitle[] = "New Newsbox";
inline constexpr char kNewNewsboxPromptAtTop[] = "Name of the new newsbox:";
inline constexpr char kNewNewsboxPromptInFolder[] = "Name of the new newsbox in the folder \"%s\":";

}  // namespace tarnwick::ui
