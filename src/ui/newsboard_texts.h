#pragma once

// Texts of the Newsboard window.

namespace tarnwick::ui {

inline constexpr char kNewsboardTitle[] = "News Board";
/// The header line whose value a row shows.
inline constexpr char kHeadlineHeaderName[] = "Subject: ";

}  // namespace tarnwick::ui
