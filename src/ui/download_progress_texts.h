#pragma once

// Texts of the window shown while a page is being downloaded on the UI thread.

namespace tarnwick::ui {

inline constexpr char kDownloadProgressTitle[] = "Get the Full Article";
/// The address follows.
inline constexpr char kDownloadProgressText[] = "Getting the full article from\n";
inline constexpr char kDownloadCancelButton[] = "&Cancel";

}  // namespace tarnwick::ui
