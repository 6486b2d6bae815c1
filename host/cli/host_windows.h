#pragma once

#include <iosfwd>
#include <string>

namespace tarnwick::host {

class HostCore;

/// Runs the host's windows on `core` (gui::RunHostGui): the program's GUI runner. Where the windows
/// are a library apart from the program, it is loaded now; when it cannot be, the reason goes to
/// `err` and the result is 1.
int RunHostWindows(HostCore& core, const std::string& pluginsFolder, std::ostream& err);

/// Shows `text` in a message box (gui::ShowNotice): the program's notice; nothing when the windows
/// cannot be had.
void ShowHostNotice(const std::string& text);

/// The library of the host's windows, beside the program, when they are apart from it.
inline constexpr char kHostWindowsLibraryName[] = "tarnwick-host-windows";
inline constexpr char kRunHostWindowsEntry[] = "tarnwick_host_RunWindows";
inline constexpr char kShowHostNoticeEntry[] = "tarnwick_host_ShowNotice";
using RunHostWindowsFunction = int (*)(HostCore* core, const char* pluginsFolder, std::ostream* err);
using ShowHostNoticeFunction = void (*)(const char* text);

}  // namespace tarnwick::host
