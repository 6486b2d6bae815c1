#pragma once

#include <string>

namespace tarnwick::host {

// Every text the host's core shows to a user or hands to a plug-in.

inline constexpr char kInMailboxName[] = "In";
inline constexpr char kOutMailboxName[] = "Out";
inline constexpr char kTrashMailboxName[] = "Trash";
inline constexpr char kMailboxExtension[] = ".mbx";
inline constexpr char kTocExtension[] = ".toc";
inline constexpr char kFolderExtension[] = ".fol";
inline constexpr char kHostSettingsFileName[] = "host.ini";
inline constexpr char kDataFolderLockFileName[] = ".tarnwick-host.lock";  // the file that hosts lock

// Automation errors.
inline constexpr char kUnknownMemberText[] = "The object has no member with this dispatch id.";
inline constexpr char kWrongArgumentsText[] = "Wrong number or type of arguments for this member.";
inline constexpr char kIndexOutOfRangeText[] = "The index is out of range.";
inline constexpr char kHostGoneText[] = "The host has shut down.";
inline constexpr char kMailboxGoneText[] = "The mailbox no longer exists.";
inline constexpr char kMessageGoneText[] = "The message no longer exists.";
inline constexpr char kNotAMailboxText[] = "This is a folder of mailboxes, not a mailbox.";
inline constexpr char kMoveTargetText[] = "A message can only be moved into a mailbox of this host.";
inline constexpr char kCannotAddHereText[] = "Mailboxes can only be added to the list of mailboxes or to a folder.";
inline constexpr char kEmptyMessageText[] = "A message cannot be empty.";
inline constexpr char kNoTranslatorText[] = "The plug-in does not offer message translation.";
inline constexpr char kEmptyTranslationText[] = "The translator wrote nothing; the message is kept as it was.";
inline constexpr char kBadStateText[] = "A message state is a number from 0 to 32767.";
inline constexpr char kNotRunningText[] =
    "The mail client is not running: it has shut down or has not finished starting.";
inline constexpr char kConnectFailedText[] = "The mail client failed while a plug-in connected.";
inline constexpr char kHostFailedText[] = "The host failed";
inline constexpr char kAutomationOffText[] =
    "Automation is switched off in this mail client (key \"Enabled\" of section \"Automation\" in "
    "host.ini, or the --no-automation option).";

/// "No automation server is registered under ..." for an unknown ProgID.
std::string UnknownServerText(const std::string& progId);
/// "... cannot be read: <system text>" for a file or folder.
std::string CannotReadText(const std::string& path, int errorNumber);
/// "... cannot be written: <system text>" for a file or folder.
std::string CannotWriteText(const std::string& path, int errorNumber);
/// Why a name cannot be used for a new mailbox or folder.
std::string BadNameText(const std::string& name);
/// "The data folder ... does not exist."
std::string MissingDataFolderText(const std::string& path);
/// The text that reports a message whose bytes changed under the host's feet.
std::string ChangedUnderfootText(const std::string& path);

}  // namespace tarnwick::host
