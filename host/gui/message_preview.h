#pragma once

#include <string>
#include <string_view>

namespace tarnwick::host::gui {

/// The page the preview shows for a message as it lies in a mailbox file, in UTF-8: a small table
/// of its From, Subject and Date, then its body. An HTML body (Content-Type text/html, or a body
/// between "<x-html>" markers) is shown as its markup says; any other body is escaped and kept in
/// its lines. Text that is not UTF-8 is read as Latin-1.
std::string PreviewPage(std::string_view stored);

/// The text with &, <, > and " written as entities.
std::string EscapeHtml(std::string_view text);

/// The text itself when it is valid UTF-8, else the text read as Latin-1 and written as UTF-8.
std::string AsUtf8(std::string_view text);

}  // namespace tarnwick::host::gui
