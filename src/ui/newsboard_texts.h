#pragma once

// Texts of the Newsboard window.

namespace tarnwick::ui {

inline constexpr char kNewsboardTitle[] = "News Board";
/// The Newsboard's window icon.
inline constexpr int kNewsboardIconNumber = 1000;

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
