#pragma once

// Texts of the Newsboard window.

namespace tarnwick::ui {

inline constexpr char kNewsboardTitle[] = "News Board";
/// The Newsboard's help page, opened by F1.
inline constexpr char kNewsboardHelpTopic[] = "Newsboard.htm";
/// The Newsboard's window icon.
inline constexpr int kNewsboardIconNumber = 1000;
/// The cursors: the arrow with a newspaper badge over a list that has rows, the program's plain
/// arrow everywhere else.
inline constexpr int kNewsboardListCursorNumber = 302;
inline constexpr int kProgramArrowCursorNumber = 301;

inline constexpr char kOpenText[] = "Open";
inline constexpr char kBrowseText[] = "Browse";
inline constexpr char kRemoveText[] = "Remove";
inline constexpr char kOpenNewsboxText[] = "Open the Newsbox";
inline constexpr char kAboutText[] = "About";

inline constexpr char kOpenMenuText[] = "&Open\tEnter";
inline constexpr char kBrowseMenuText[] = "&Browse\tCtrl+Enter";
inline constexpr char kRemoveMenuText[] = "&Remove";
inline constexpr char kOpenNewsboxMenuText[] = "Open the &Newsbox";
inline constexpr char kSelectAllMenuText[] = "Select &All";

}  // namespace tarnwick::ui
