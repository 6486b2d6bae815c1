#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::host::gui {

// Every text the host's windows show.

inline constexpr char kFrameTitlePrefix[] = "tarnwick-host - ";
inline constexpr char kFileMenu[] = "&File";
inline constexpr char kOpenMailboxItem[] = "&Open Mailbox\tCtrl+O";
inline constexpr char kCloseMailboxItem[] = "&Close Mailbox\tCtrl+W";
inline constexpr char kQuitItem[] = "&Quit\tCtrl+Q";
inline constexpr char kMessageMenu[] = "&Message";
inline constexpr char kNoTranslatorsItem[] = "(no translators)";
inline constexpr char kSpecialMenu[] = "&Special";
inline constexpr char kNoSpecialEntriesItem[] = "(no plug-in entries)";

inline constexpr char kSubjectColumn[] = "Subject";
inline constexpr char kFromColumn[] = "From";
inline constexpr char kDateColumn[] = "Date";
inline constexpr char kNoSubjectText[] = "(no subject)";

inline constexpr char kReadyText[] = "Ready";
inline constexpr char kPluginSkippedText[] = "plug-in skipped: ";
inline constexpr char kNoDisplayText[] = "the windows cannot start: no display could be opened (is DISPLAY set?)";

/// "Name (unread/total)" for a mailbox of the tree; a folder shows its name alone.
std::string MailboxTreeLabel(const std::string& name, size_t unread, size_t total);

/// The status-bar text after a Special-menu entry returned `result` (empty for success).
std::string SpecialResultText(const std::string& entry, int32_t result);

/// The status-bar text after a translator ran: empty when there is nothing to say (the plug-in
/// showed the message itself), else what happened.
std::string TranslationStatusText(const std::string& translator, int32_t result, bool replaced,
                                  const std::string& errorText);

}  // namespace tarnwick::host::gui
